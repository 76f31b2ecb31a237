#pragma once
#include <filesystem>

#include "exchange/formats/exchangemesh.h"
#include "framework/expected.h"

// Reads a 3DS file for an import: every mesh object merged into one, the
// vertices as stored (a writer's local axes do not move them), each
// face-material group with its material's name and texture map file name.
// Lights, cameras and other objects are passed over. A file that cannot be
// read or holds no mesh is refused in words, the toolkit's error list
// under the sentence; the list also goes to the standard error stream.
fw::Expected<ImportedMesh> ReadImported3ds(const std::filesystem::path& path);
