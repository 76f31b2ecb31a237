// Building the record tree over a large image: the bank scan, the walk and
// the copy search, without the file read.
#include <benchmark/benchmark.h>

#include <cstring>
#include <sstream>

#include "browser/pallixview.h"
#include "cli/consoleui.h"
#include "datafile/pallixdoc.h"
#include "tools/bfpbuilder.h"

namespace {

std::vector<uint8_t> ManyBanks(size_t banks) {
    bfp::ImageWriter image;
    const auto shared = bfp::MakeBmp(64, 128, 8, 0);
    for (size_t b = 0; b < banks; ++b) {
        bfp::Bank bank{{bfp::Cube("box", 100, 3)}, {}};
        for (uint32_t i = 0; i < 3; ++i)
            bank.bitmaps.push_back({"tex", bfp::MakeBmp(64, 128, 8, uint32_t(b * 3 + i + 1))});
        if (b % 10 == 9) bank.bitmaps.push_back({"again", shared});
        image.AddBank(bank);
        image.Filler(1000, uint32_t(b));
    }
    return image.bytes();
}

void PopulateTree(benchmark::State& state) {
    const auto bytes = ManyBanks(size_t(state.range(0)));
    std::ostringstream discarded;
    ConsoleUi ui(discarded, false);
    CPallixDoc doc(ui);
    doc.m_pImage = pallix::AllocateImageMemory(bytes.size());
    std::memcpy(doc.m_pImage.get(), bytes.data(), bytes.size());
    doc.m_nImageSize = uint32_t(bytes.size());
    CPallixView view(doc, ui, [] { return std::filesystem::path("/prog/pallix"); });
    for (auto _ : state) view.OnInitialUpdate();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

BENCHMARK(PopulateTree)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
