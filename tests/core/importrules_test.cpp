#include <gtest/gtest.h>

#include "exchange/model/importrules.h"

namespace {

TEST(ImportRules, CornersMergeOnlyWhenPositionAndMappingBothAgree) {
    ImportedMesh mesh;
    mesh.points = {{0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 0.5, 0}};
    mesh.faces = {{0, 1, 2, 0}, {3, 4, 0, 0}};
    const ImportedMesh welded = WeldCorners(mesh);
    ASSERT_EQ(welded.points.size(), 4u);  // the point with other mapping coordinates stays apart
    EXPECT_EQ(welded.faces[1].a, 1u);
    EXPECT_EQ(welded.faces[1].b, 3u);
    EXPECT_EQ(welded.faces[1].c, 0u);
}

TEST(ImportRules, EmptyOrUnstorableMeshesAreRefusedNamingTheFile) {
    const ModelRoom room{10000, 3, 1, {}, {}};
    ImportedMesh far;
    far.points = {{0, 0, 0, 0, 0}, {3.0e8, 0, 0, 0, 0}, {0, 1, 0, 0, 0}};
    far.faces = {{0, 1, 2, 0}};
    for (const ImportedMesh& mesh : {ImportedMesh{}, far}) {
        const auto tables = ApplyImportRules(mesh, "dir/m.obj", {"a.bmp"}, room);
        ASSERT_FALSE(tables);
        EXPECT_EQ(tables.why().rfind("Cannot import \"m.obj\": ", 0), 0u);
    }
}

}  // namespace
