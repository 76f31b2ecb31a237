#include "tests/formats/samplemodel.h"

#include <gtest/gtest.h>

#include "tests/support/testfiles.h"
#include "tools/bfpbuilder.h"

SampleModel::SampleModel() : bmp8(bfp::MakeBmp(4, 2, 8, 1)), bmp24(bfp::MakeBmp(3, 2, 24, 2)) {
    model.name = "pyramid";
    model.points = {{-1, -1, 0, 0, 0.25},
                    {1, -1, 0, 0.125, 0.375},
                    {1, 1, 0, 0.25, 0.5},
                    {-1, 1, 0, 0.375, 0.625},
                    {0, 0, 2, 0.5, 0.75}};
    model.faces = {{0, 2, 1, {1, 2, 3, 4}, 0}, {0, 3, 2, {}, 0}, {0, 1, 4, {}, 1},
                   {1, 2, 4, {}, 1},           {2, 3, 4, {}, 1}, {3, 0, 4, {}, 1}};
    model.textures = {"O10.bmp", "O20.bmp"};
    model.bitmapFiles = {bmp8, bmp24};
}

void ExpectSameMesh(const ExportedModel& written, const ImportedMesh& read) {
    ASSERT_EQ(read.points.size(), written.points.size());
    for (size_t k = 0; k < read.points.size(); ++k) {
        const ExchangePoint &a = written.points[k], &b = read.points[k];
        EXPECT_NEAR(a.x, b.x, 1e-6) << k;
        EXPECT_NEAR(a.y, b.y, 1e-6) << k;
        EXPECT_NEAR(a.z, b.z, 1e-6) << k;
        EXPECT_NEAR(a.u, b.u, 1e-6) << k;
        EXPECT_NEAR(a.v, b.v, 1e-6) << k;
    }
    ASSERT_EQ(read.faces.size(), written.faces.size());
    for (size_t k = 0; k < read.faces.size(); ++k) {
        const ExchangeFace& a = written.faces[k];
        const ImportedFace& b = read.faces[k];
        EXPECT_EQ(std::vector<uint32_t>({a.a, a.b, a.c}), std::vector<uint32_t>({b.a, b.b, b.c})) << k;
        ASSERT_LT(b.group, read.groups.size());
        EXPECT_EQ(read.groups[b.group].materialName, a.material ? "O20" : "O10") << k;
    }
}

std::string FileText(const std::filesystem::path& path) {
    const auto bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}
