#pragma once
#include <cstdint>
#include <filesystem>
#include <map>
#include <vector>

#include <tiny_gltf.h>

#include "exchange/formats/exchangemesh.h"

// The bytes the library decoded from images given as data inside their URI,
// by image index. Images inside a buffer view are not among them: the
// library hands those over unchecked.
using LoadedImages = std::map<int, std::vector<uint8_t>>;

// The pictures the document's materials show as their base colour, each
// image once, with every name that may lead to a bitmap. An image inside a
// buffer view is read here, checked to lie inside its buffer; an image's
// file from the model's folder only, whatever folder its URI names.
std::vector<ImportedPicture> GltfPictures(const tinygltf::Model& model, const LoadedImages& loaded,
                                          const std::filesystem::path& folder);
