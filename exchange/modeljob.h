#pragma once
#include <filesystem>

#include "exchangetables.h"
#include "itemrecord.h"

// What an export or import of a model works on: the model's record, the
// texture names of its bank's bitmaps, and its .3ds file.
struct ModelJobTarget {
    const ItemRecord* record = nullptr;
    TextureNames textures;
    std::filesystem::path path;
};
