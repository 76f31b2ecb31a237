#include "exchange/files/viewfilenames.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "exchange/files/exportpaths.h"
#include "framework/asciicase.h"

namespace {

constexpr std::string_view kCopySuffix = " (Copy of ";
constexpr std::string_view kBmpExtension = ".bmp";

bool EndsWithIgnoringCase(const std::string& text, std::string_view end) {
    return text.size() >= end.size() &&
           fw::EqualIgnoringAsciiCase(std::string_view(text).substr(text.size() - end.size()), end);
}

// The label is "<index>:<name>", and a copy's has its suffix after that.
std::string BitmapName(const ItemRecord& record) {
    std::string name = record.szLabel;
    const size_t colon = name.find(':');
    const bool numbered = colon != std::string::npos && colon > 0 &&
                          std::all_of(name.begin(), name.begin() + std::ptrdiff_t(colon),
                                      [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    if (numbered) name.erase(0, colon + 1);
    if (const size_t copy = name.rfind(kCopySuffix); record.nCopyOf != 0 && copy != std::string::npos) name.erase(copy);
    if (EndsWithIgnoringCase(name, kBmpExtension)) name.erase(name.size() - kBmpExtension.size());
    return name;
}

}  // namespace

std::string BitmapViewFileName(const ItemRecord& record) {
    const std::string name = BitmapName(record);
    return name.empty() ? BitmapFileName(record.nOffset) : SafeFileStem(name) + std::string(kBmpExtension);
}

std::string ModelViewFileName(const ItemRecord& record, const std::string& modelStem) {
    return (modelStem.empty() ? SafeFileStem(record.szLabel) : modelStem) + ".dxf";
}
