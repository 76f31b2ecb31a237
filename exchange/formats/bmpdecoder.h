#pragma once
#include <cstdint>
#include <span>

#include "exchange/formats/picture.h"
#include "framework/expected.h"

// Every BMP file a program writes: info headers of 12 (OS/2 core), 40, 52,
// 56, 108 and 124 bytes; 1, 4, 8, 16, 24 and 32 bits per pixel;
// uncompressed, RLE8, RLE4 and bit fields; bottom-up or top-down. Every
// read is checked against the bytes given, and the picture's size against
// the file's length and a limit before anything is allocated. A refusal
// says why the bytes are no picture, in words that follow "it" (as in
// "the file cannot be read: it ...").
fw::Expected<Picture> DecodeBmp(std::span<const uint8_t> file);
