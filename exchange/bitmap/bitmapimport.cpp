#include "exchange/bitmap/bitmapimport.h"

fw::Expected<BitmapImport> ImportIntoBitmap(std::span<const uint8_t> stored, std::span<const uint8_t> file,
                                            const BitmapFormat&, const std::string& shownName) {
    if (file.size() != stored.size()) return fw::Refuse(shownName + " cannot be imported yet.");
    BitmapImport import;
    import.bytes.assign(file.begin(), file.end());
    import.byteCompatible = true;
    return import;
}

std::string DescribeImport(const BitmapImport&, const std::string& shownName) { return shownName; }
