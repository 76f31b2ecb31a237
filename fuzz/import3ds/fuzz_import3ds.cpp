// Arbitrary bytes imported as a 3DS file, as Import Model does: the reader,
// then the import rules against a small model, whose result must name only
// points it has.
#include <cstdlib>

#include "exchange/importrules.h"
#include "exchange/read3ds.h"
#include "fuzz/formats/fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto path = FuzzInputFile(data, size, ".3ds");
    const ImportedFile read = ReadImported3ds(path);
    AbortUnlessWellFormed(read);
    ModelRoom room;
    room.recordBytes = 4096;
    room.vertexCount = 4;
    room.faceCount = 2;
    room.oldPoints.resize(4);
    room.oldFaces.resize(2);
    const ImportedTables tables = ApplyImportRules(read, path, {"a.bmp", "b.bmp"}, room);
    for (const ExchangeFace& face : tables.faces)
        if (face.a >= tables.points.size() || face.b >= tables.points.size() || face.c >= tables.points.size())
            std::abort();
    return 0;
}
