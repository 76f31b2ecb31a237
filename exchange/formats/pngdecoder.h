#pragma once
#include <cstdint>
#include <span>

#include "exchange/formats/picture.h"
#include "framework/expected.h"

// Every PNG file: all colour types and bit depths, interlaced or not. A
// paletted PNG keeps its palette and indices; every other becomes RGB of 8
// bits a channel, alpha dropped. The size is checked against a limit before
// anything is allocated; a refusal says why in words that follow "it".
fw::Expected<Picture> DecodePng(std::span<const uint8_t> file);
