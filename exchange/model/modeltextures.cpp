#include "exchange/model/modeltextures.h"

#include <algorithm>

#include "exchange/formats/exchangemesh.h"

std::vector<ItemRecord> TextureBitmapsAfter(const std::vector<ItemRecord>& following) {
    auto bitmap = std::find_if(following.begin(), following.end(),
                               [](const ItemRecord& record) { return record.nKind == ITEM_BITMAP; });
    std::vector<ItemRecord> bitmaps;
    for (; bitmap != following.end() && bitmap->nKind == ITEM_BITMAP && bitmaps.size() < kMaxTextureNames; ++bitmap)
        bitmaps.push_back(*bitmap);
    return bitmaps;
}
