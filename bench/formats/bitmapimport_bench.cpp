// Importing a painted 1024 × 1024 true-colour picture into an 8-bit bitmap
// of 256 colours: decoding the file, choosing the nearest colour of every
// pixel, writing the pixel array. The picture is a photograph's worst case
// for the colour cache: smooth gradients with noise, hundreds of thousands
// of distinct colours. Target: under 50 ms.
#include <benchmark/benchmark.h>

#include "exchange/bitmap/bitmapimport.h"
#include "exchange/formats/pngencoder.h"
#include "tools/bfpbuilder.h"

namespace {

constexpr uint32_t kSide = 1024;

// A 6 × 7 × 6 colour cube and four greys, as a paletted texture's table spreads.
std::vector<uint8_t> StoredBitmap() {
    auto bmp = bfp::MakeBmp(kSide, kSide, 8, 1);
    for (uint32_t i = 0; i < 256; ++i) {
        const uint32_t r = i % 6, g = i / 6 % 7, b = i / 42 % 6;
        const uint8_t grey = uint8_t(i * 51 % 256);
        bmp[54 + 4 * i] = i < 252 ? uint8_t(b * 51) : grey;
        bmp[54 + 4 * i + 1] = i < 252 ? uint8_t(g * 42) : grey;
        bmp[54 + 4 * i + 2] = i < 252 ? uint8_t(r * 51) : grey;
    }
    return bmp;
}

Picture Painted() {
    Picture picture{kSide, kSide, {}, std::vector<uint8_t>(size_t(kSide) * kSide * 3)};
    uint32_t noise = 12345;
    for (uint32_t y = 0; y < kSide; ++y)
        for (uint32_t x = 0; x < kSide; ++x) {
            noise = noise * 1664525u + 1013904223u;
            uint8_t* rgb = &picture.pixels[(size_t(y) * kSide + x) * 3];
            rgb[0] = uint8_t(x / 4 + (noise >> 29));
            rgb[1] = uint8_t(y / 4 + (noise >> 26 & 7));
            rgb[2] = uint8_t((x + y) / 8 + (noise >> 23 & 7));
        }
    return picture;
}

void ImportTrueColourIntoPalettedBitmap(benchmark::State& state, const char* word) {
    const auto stored = StoredBitmap();
    const auto& format = *BitmapFormatByWord(word);
    // The file as an editor would save it: a 24-bit BMP or an RGB PNG.
    const Picture painted = Painted();
    std::vector<uint8_t> file;
    if (std::string_view(word) == "png") {
        file = *EncodePng(painted);
    } else {
        file = bfp::MakeBmp(kSide, kSide, 24, 1);
        for (uint32_t y = 0; y < kSide; ++y)
            for (uint32_t x = 0; x < kSide; ++x) {
                const uint8_t* rgb = &painted.pixels[(size_t(kSide - 1 - y) * kSide + x) * 3];
                uint8_t* bgr = &file[54 + (size_t(y) * kSide + x) * 3];
                bgr[0] = rgb[2], bgr[1] = rgb[1], bgr[2] = rgb[0];
            }
    }
    size_t approximated = 0;
    for (auto _ : state) {
        const auto import = ImportIntoBitmap(stored, file, format, "painted");
        if (!import) state.SkipWithError(import.why().c_str());
        approximated = import ? import->approximated : 0;
        benchmark::DoNotOptimize(approximated);
    }
    state.counters["approximated"] = double(approximated);
}

}  // namespace

BENCHMARK_CAPTURE(ImportTrueColourIntoPalettedBitmap, bmp24, "bmp")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportTrueColourIntoPalettedBitmap, png, "png")->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
