#pragma once
#include "framework/menu.h"

// The tree's popup menu resources.
enum PopupMenuId : int {
    IDR_POPUP_BITMAP = 143,
    IDR_POPUP_BFP = 144,
    IDR_POPUP_MODEL = 145,
    IDR_POPUP_CM3D = 146,
};

// The popup of a menu resource; an empty menu for an unknown id.
const fw::PopupMenu& PopupMenuResource(int resourceId);
