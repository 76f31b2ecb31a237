#pragma once
#include <cstdint>
#include <vector>

#include "bmpdecoder.h"

// The image as a PNG file's bytes; empty if the encoder failed.
std::vector<uint8_t> EncodePng(const RgbImage& image);
