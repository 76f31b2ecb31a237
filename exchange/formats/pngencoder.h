#pragma once
#include <cstdint>
#include <vector>

#include "exchange/formats/picture.h"
#include "framework/expected.h"

// The picture as a PNG file's bytes, with its palette if it has one.
fw::Expected<std::vector<uint8_t>> EncodePng(const Picture& picture);
