// The glTF library's own code, compiled once here with our options: no
// image decoding, no file access but through the reader's callbacks.
// Its writer wants <fstream> even where it opens no files.
#include <fstream>

#define TINYGLTF_IMPLEMENTATION
#include <tiny_gltf.h>
