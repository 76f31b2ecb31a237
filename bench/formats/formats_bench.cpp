// Writing a bank's models as glTF, GLB and OBJ against writing them as 3DS,
// from the same model data: the two models and three bitmaps of a bank of
// the benchmark data file (make-bench-bfp). Each 3DS bank also writes its
// bitmaps as BMP files, as Export All does; the other formats write their
// pictures themselves, each once per bank.
#include <benchmark/benchmark.h>

#include "exchange/commands/modelexport.h"
#include "exchange/files/exportpaths.h"
#include "exchange/formats/formatfiles.h"
#include "exchange/formats/modelformats.h"
#include "exchange/model/modelarrays.h"
#include "exchange/model/modelconversion.h"
#include "tools/bfpbuilder.h"

namespace {

struct BenchBank {
    std::vector<std::vector<uint8_t>> bitmaps;
    std::vector<ExportedModel> models;
};

ExportedModel Exported(const bfp::Model& source, const BenchBank& bank) {
    const auto record = bfp::ModelRecordBytes(source);
    const auto arrays = LocateModelArrays(record);
    ExportedModel model;
    model.name = source.name;
    for (uint32_t i = 0; i < bank.bitmaps.size(); ++i) {
        model.textures.push_back(BitmapFileName(0x1000 * (i + 1)));
        model.bitmapFiles.push_back(bank.bitmaps[i]);
    }
    for (uint32_t k = 0; k < arrays->vertexCount; ++k) model.points.push_back(PointFromVertex(*arrays, k));
    for (uint32_t k = 0; k < arrays->triangleCount; ++k)
        model.faces.push_back(FaceFromTriangle(*arrays, k, model.textures.size()));
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

void ExportAs3ds(benchmark::State& state) {
    const BenchBank bank = MakeBank();
    for (auto _ : state) {
        for (const ExportedModel& model : bank.models) WriteModel3dsFile(Folder() / (model.name + ".3ds"), model);
        for (size_t i = 0; i < bank.bitmaps.size(); ++i)
            SaveBytes(Folder() / bank.models[0].textures[i], bank.bitmaps[i]);
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}

template <int Format>
void ExportAs(benchmark::State& state) {
    const BenchBank bank = MakeBank();
    for (auto _ : state) {
        WrittenPictures written;  // as Export All keeps it for its run
        for (const ExportedModel& model : bank.models) {
            const auto stem = Folder() / model.name;
            const FormatWriteResult result =
                Format == 2 ? WriteObj(model, stem.string() + ".obj", &written)
                            : WriteGltf(model, stem.string() + (Format ? ".glb" : ".gltf"), Format == 1, &written);
            if (!result.ok()) state.SkipWithError(result.failure.c_str());
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}

// Items are banks: 5000 of them take 5000 times the time per item.
BENCHMARK(ExportAs3ds)->Name("ExportBank/3ds")->Unit(benchmark::kMicrosecond);
BENCHMARK(ExportAs<0>)->Name("ExportBank/gltf")->Unit(benchmark::kMicrosecond);
BENCHMARK(ExportAs<1>)->Name("ExportBank/glb")->Unit(benchmark::kMicrosecond);
BENCHMARK(ExportAs<2>)->Name("ExportBank/obj")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
