// Arbitrary bytes read as a .gltf or .glb file: a refusal or a mesh whose
// faces name only points it has.
#include <cstdlib>

#include "fuzzinput.h"
#include "modelformats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ImportedFile read = ReadGltf(FuzzInputFile(data, size, ".gltf"));
    if (read.mesh) {
        for (const ImportedFace& face : read.mesh->faces)
            if (face.a >= read.mesh->points.size() || face.b >= read.mesh->points.size() ||
                face.c >= read.mesh->points.size() || face.group >= read.mesh->groups.size())
                std::abort();
    }
    return 0;
}
