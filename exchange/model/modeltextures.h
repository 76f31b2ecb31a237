#pragma once
#include <vector>

#include "datafile/itemrecord.h"

// A model's textures are the bitmaps that follow it in its bank, up to the
// first item that is not a bitmap: a triangle's bitmap index counts them.
// `following` are the records after the model's, in bank order.
std::vector<ItemRecord> TextureBitmapsAfter(const std::vector<ItemRecord>& following);
