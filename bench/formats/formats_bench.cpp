// Writing a bank's models as glTF, GLB and OBJ against writing them as 3DS,
// from the same model data: the two models and three bitmaps of a bank of
// the benchmark data file (make-bench-bfp). Each 3DS bank also writes its
// bitmaps as BMP files, as Export All does; the other formats write their
// pictures themselves, each once per bank.
#include <benchmark/benchmark.h>

#include "exchange/files/exportpaths.h"
#include "exchange/formats/formatfiles.h"
#include "exchange/formats/modelformats.h"
#include "exchange/model/modelarrays.h"
#include "exchange/model/modelconversion.h"
#include "exchange/model/modelformattable.h"
#include "tools/bfpbuilder.h"

namespace {

struct BenchBank {
    std::vector<std::vector<uint8_t>> bitmaps;
    std::vector<ExportedModel> models;
};

ExportedModel Exported(const bfp::Model& source, const BenchBank& bank) {
    const auto record = bfp::ModelRecordBytes(source);
    TextureNames textures;
    for (uint32_t i = 0; i < bank.bitmaps.size(); ++i) textures.push_back(BitmapFileName(0x1000 * (i + 1)));
    ExportedModel model = ExportedModelOf(*LocateModelArrays(record), source.name, textures);
    for (const auto& bitmap : bank.bitmaps) model.bitmapFiles.push_back(bitmap);
    return model;
}

BenchBank MakeBank() {
    BenchBank bank;
    for (uint32_t i = 0; i < 3; ++i) bank.bitmaps.push_back(bfp::MakeBmp(64, 128, 8, i + 1));
    for (const bfp::Model& source : {bfp::Cube("box", 100, 3), bfp::Pyramid("pyr", 50, 80, 3)})
        bank.models.push_back(Exported(source, bank));
    return bank;
}

const std::filesystem::path& Folder() {
    static const auto folder = [] {
        auto path = std::filesystem::temp_directory_path() / "pallix-bench-formats";
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

// The 3DS export writes the bitmaps as BMP files of their own, as Export
// All does; the other formats write their pictures themselves, once a bank.
void ExportAs(benchmark::State& state, const char* name) {
    const ModelFormat& format = *ModelFormatNamed(name);
    const BenchBank bank = MakeBank();
    for (auto _ : state) {
        WrittenPictures written;  // as Export All keeps it for its run
        for (const ExportedModel& model : bank.models) {
            const auto notes = format.write(model, Folder() / (model.name + format.extension), &written);
            if (!notes) state.SkipWithError(notes.why().c_str());
        }
        if (&format != &Model3dsFormat()) continue;
        for (size_t i = 0; i < bank.bitmaps.size(); ++i)
            (void)SaveBytes(Folder() / bank.models[0].textures[i], bank.bitmaps[i]);
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}

// Items are banks: 5000 of them take 5000 times the time per item.
BENCHMARK_CAPTURE(ExportAs, 3ds, "3ds")->Name("ExportBank/3ds")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ExportAs, gltf, "gltf")->Name("ExportBank/gltf")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ExportAs, glb, "glb")->Name("ExportBank/glb")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ExportAs, obj, "obj")->Name("ExportBank/obj")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
