#pragma once

// The virtual key code of a Qt key, as the tree's key-down notification
// reports it; keys without a code of their own give kNoVirtualKey.
inline constexpr int kNoVirtualKey = 0xFF;
int VirtualKeyOf(int qtKey);
