#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "datafile/itemrecord.h"
#include "datafile/pallixdoc.h"
#include "exchange/bitmap/bitmapimport.h"
#include "exchange/formats/exchangemesh.h"
#include "framework/expected.h"

// The pictures that come back with a model from its glTF or OBJ file: an
// editor that painted the texture saves the painting there.

// A bitmap a picture changes, with where its copies lie.
struct TakenPicture {
    ItemRecord bitmap;
    std::string bitmapName;  // "O68C.bmp"
    std::vector<uint32_t> copies;
    BitmapImport import;
};

// Every picture that names one of the model's bitmaps (as a face finds its
// bitmap: by file, image or material name) and would change it, taken by the
// one bitmap import rule. A picture whose file is not beside the model
// changes nothing. The refusal is a sentence naming the first picture that
// cannot be taken and why; then nothing may change.
fw::Expected<std::vector<TakenPicture>> TakePictures(const std::vector<ImportedPicture>& pictures,
                                                     const TextureNames& textures,
                                                     const std::vector<ItemRecord>& bitmaps,
                                                     const std::vector<ItemRecord>& repeats,
                                                     std::span<const uint8_t> image);

// TakePictures checked that each fits its bitmap, so none is refused here.
fw::Expected<void> WriteTakenPictures(CPallixDoc& document, const std::vector<TakenPicture>& taken);

// For the status line: each bitmap changed, and how many of its pixels took
// the nearest colour when any did.
std::string DescribeTakenPictures(const std::vector<TakenPicture>& taken);
