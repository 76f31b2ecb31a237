#pragma once
#include <string>

#include <tiny_gltf.h>

#include "exchange/formats/exchangemesh.h"
#include "framework/expected.h"

// Every triangle the scene of a loaded glTF document shows, through its
// nodes' transforms, merged into one mesh in the exchange terms; or why not
// (in words, without the file's name).
fw::Expected<ImportedMesh> CollectScene(const tinygltf::Model& model);
