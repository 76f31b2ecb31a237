// Arbitrary bytes read as a .gltf or .glb file: a refusal or a mesh whose
// faces name only points it has.
#include "exchange/formats/modelformats.h"
#include "fuzz/formats/fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AbortUnlessWellFormed(ReadGltf(FuzzInputFile(data, size, ".gltf")));
    return 0;
}
