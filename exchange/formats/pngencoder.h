#pragma once
#include <cstdint>
#include <vector>

#include "exchange/formats/bmpdecoder.h"

// The picture as a PNG file's bytes, with its palette if it has one;
// empty if the encoder failed.
std::vector<uint8_t> EncodePng(const Picture& picture);
