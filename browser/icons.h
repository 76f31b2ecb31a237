#pragma once
#include <array>

// The tree's icons in image-list order. Every closed icon has an even index
// and its open partner the next odd one: expanding adds one, collapsing
// takes one away.
enum TreeIcon : int {
    ICON_BFP_CLOSED = 0,
    ICON_BFP_OPEN = 1,
    ICON_BMP_CLOSED = 2,
    ICON_BMP_OPEN = 3,
    ICON_COPY_BMP_CLOSED = 4,
    ICON_COPY_BMP_OPEN = 5,
    ICON_BANK_CLOSED = 6,
    ICON_BANK_OPEN = 7,
    ICON_WAV_CLOSED = 8,
    ICON_WAV_OPEN = 9,
    ICON_MODEL_CLOSED = 10,
    ICON_MODEL_OPEN = 11,
};

// The bitmap resources the image list is built from, in the same order.
inline constexpr std::array<const char*, 12> kTreeIconResources = {
    "IDB_BFPCLOSED", "IDB_BFPOPEN", "IDB_BMPCLOSED", "IDB_BMPOPEN", "IDB_CBMPCLOSED",  "IDB_CBMPOPEN",
    "IDB_3DCLOSED",  "IDB_3DOPEN",  "IDB_WAVCLOSED", "IDB_WAVOPEN", "IDB_MODELCLOSED", "IDB_MODELOPEN",
};
