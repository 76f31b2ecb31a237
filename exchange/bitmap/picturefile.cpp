#include "exchange/bitmap/picturefile.h"

#include "exchange/formats/picture.h"
#include "framework/file.h"

fw::Expected<std::vector<uint8_t>> ReadPictureFile(const std::filesystem::path& path, const std::string& shownName) {
    fw::File file(path, fw::File::Mode::read);
    const uint64_t length = file.Length();
    if (length > kMaxPictureFileBytes)
        return fw::Refuse(shownName + " has " + std::to_string(length >> 20) +
                          " MB, more than any picture a bitmap can take (" +
                          std::to_string(kMaxPictureFileBytes >> 20) + " MB). Nothing was changed.");
    std::vector<uint8_t> bytes(length);
    bytes.resize(file.Read(bytes.data(), bytes.size()));
    file.Close();
    return bytes;
}
