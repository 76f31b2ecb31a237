// Arbitrary bytes imported as a 3DS file, as Import Model does: the reader,
// then the import rules against a small model, whose result must name only
// points it has.
#include <cstdlib>

#include "exchange/model/importrules.h"
#include "exchange/threeds/read3ds.h"
#include "fuzz/formats/fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto path = FuzzInputFile(data, size, ".3ds");
    const auto read = ReadImported3ds(path);
    if (!read.ok()) return 0;
    // A 3DS face may lie in no group (kNoGroup): it gets bitmap 0.
    for (const ImportedFace& face : read->faces)
        if (face.a >= read->points.size() || face.b >= read->points.size() || face.c >= read->points.size() ||
            (face.group >= read->groups.size() && face.group != kNoGroup))
            std::abort();
    ModelRoom room;
    room.recordBytes = 4096;
    room.vertexCount = 4;
    room.faceCount = 2;
    room.oldPoints.resize(4);
    room.oldFaces.resize(2);
    const auto tables = ApplyImportRules(*read, path, {"a.bmp", "b.bmp"}, room);
    if (!tables.ok()) return 0;
    for (const ExchangeFace& face : tables->faces)
        if (face.a >= tables->points.size() || face.b >= tables->points.size() || face.c >= tables->points.size())
            std::abort();
    return 0;
}
