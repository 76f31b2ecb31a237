#include "exchange/bitmap/modelpictures.h"

#include <algorithm>
#include <map>
#include <optional>

#include "framework/littleendian.h"
#include "exchange/bitmap/replacebitmap.h"
#include "exchange/model/importrules.h"

namespace {

constexpr uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// By the bytes, not the name: an editor may save any picture under any name,
// and a picture inside a file has no name to go by.
const BitmapFormat* FormatOfPicture(std::span<const uint8_t> bytes) {
    if (bytes.size() >= sizeof kPngSignature && std::equal(std::begin(kPngSignature), std::end(kPngSignature), bytes.begin()))
        return BitmapFormatByWord("png");
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return &BmpFormat();
    return nullptr;
}

std::optional<uint32_t> BitmapOf(const ImportedPicture& picture, const TextureNames& textures) {
    for (const std::string& name : picture.names)
        if (const auto bitmap = BitmapNamed(name, textures)) return bitmap;
    return std::nullopt;
}

std::vector<uint32_t> CopiesOf(const ItemRecord& bitmap, const std::vector<ItemRecord>& repeats) {
    std::vector<uint32_t> copies;
    for (const ItemRecord& repeat : repeats)
        if (repeat.nCopyOf == bitmap.nOffset) copies.push_back(repeat.nOffset);
    return copies;
}

// The change the picture makes to the bitmap; none when it makes none.
fw::Expected<std::optional<BitmapImport>> Take(const ImportedPicture& picture, const ItemRecord& bitmap,
                                               const std::string& bitmapName, std::span<const uint8_t> image) {
    if (!picture.unreadable.empty()) return fw::Refuse(picture.unreadable);
    if (picture.bytes.empty()) return std::optional<BitmapImport>();
    if (!pallix::FitsIn(image, bitmap.nOffset, bitmap.nSize))
        return fw::Refuse("The bitmap " + bitmapName + " that " + picture.shownName + " names lies outside the data file.");
    const BitmapFormat* format = FormatOfPicture(picture.bytes);
    if (!format)
        return fw::Refuse(picture.shownName + " is neither a PNG nor a BMP picture. Save the texture as PNG in your "
                          "3-D program and export the model again.");
    const auto stored = image.subspan(bitmap.nOffset, bitmap.nSize);
    auto imported = ImportIntoBitmap(stored, picture.bytes, *format, picture.shownName);
    if (!imported) return imported.refusal();
    if (std::equal(imported->bytes.begin(), imported->bytes.end(), stored.begin(), stored.end()))
        return std::optional<BitmapImport>();
    return std::optional<BitmapImport>(std::move(*imported));
}

}  // namespace

fw::Expected<std::vector<TakenPicture>> TakePictures(const std::vector<ImportedPicture>& pictures,
                                                     const TextureNames& textures,
                                                     const std::vector<ItemRecord>& bitmaps,
                                                     const std::vector<ItemRecord>& repeats,
                                                     std::span<const uint8_t> image) {
    std::vector<TakenPicture> taken;
    std::map<uint32_t, const ImportedPicture*> takenFrom;  // bitmap -> the picture that changes it
    for (const ImportedPicture& picture : pictures) {
        const auto index = BitmapOf(picture, textures);
        if (!index || *index >= bitmaps.size()) continue;
        auto change = Take(picture, bitmaps[*index], textures[*index], image);
        if (!change) return change.refusal();
        if (!*change) continue;
        const auto [earlier, first] = takenFrom.try_emplace(*index, &picture);
        if (!first)
            return fw::Refuse(earlier->second->shownName + " and " + picture.shownName + " both name the bitmap " +
                              textures[*index] + " and would change it each in its own way. Keep one of them.");
        taken.push_back({bitmaps[*index], textures[*index], CopiesOf(bitmaps[*index], repeats), std::move(**change)});
    }
    return taken;
}

fw::Expected<void> WriteTakenPictures(CPallixDoc& document, const std::vector<TakenPicture>& taken) {
    for (const TakenPicture& picture : taken) {
        auto written = ReplaceBitmap(document, picture.bitmap, picture.copies, picture.import.bytes);
        if (!written) return written;
    }
    return {};
}

std::string DescribeTakenPictures(const std::vector<TakenPicture>& taken) {
    std::string text;
    for (const TakenPicture& picture : taken) {
        const std::string approximated = DescribeImport(picture.import, picture.bitmapName);
        text += (text.empty() ? "" : "; ") + (approximated.empty() ? picture.bitmapName : approximated);
    }
    return text;
}
