#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace pallix {

struct BankEntry {
    uint32_t number = 0;       // 1 for the first bank of the file
    uint32_t offset = 0;       // of the "CM3D" tag
    uint16_t objectCount = 0;  // as the header declares them
    uint16_t bitmapCount = 0;
};

struct ModelEntry {
    uint32_t offset = 0;  // of the model record
    std::string name;
    uint32_t recordSize = 0;
    uint16_t vertexCount = 0;
    uint16_t triangleCount = 0;
};

struct BitmapEntry {
    uint32_t index = 0;       // within the bank
    uint32_t dataOffset = 0;  // of the embedded BMP file
    uint32_t length = 0;      // its own bfSize
    std::string name;
};

// Receives the records of the banks in file order.
class BankVisitor {
public:
    virtual ~BankVisitor() = default;
    virtual void OnBank(const BankEntry& bank) = 0;
    virtual void OnModel(const ModelEntry& model) = 0;
    virtual void OnBitmap(const BitmapEntry& bitmap) = 0;
    // The image ends inside the bank: the record at recordOffset (which may
    // start right at the end) would need bytes past it. The bank's later
    // records are not reported.
    virtual void OnBankCut(const BankEntry& /*bank*/, uint64_t /*recordOffset*/) {}
};

// Finds every bank of the image and walks it. Records are trusted as
// stored, but only what lies wholly inside the image is reported: the first
// record that does not ends its bank there. The number of records listed is
// bounded by the image's size (one per sixty-four bytes) and by a ceiling
// of about a million, which no genuine file reaches.
void ScanBanks(std::span<const uint8_t> image, BankVisitor& visitor);

// A zero-terminated name inside a fixed field; the whole field when it has no terminator.
std::string FieldName(std::span<const uint8_t> image, uint64_t offset, uint32_t fieldSize);

}  // namespace pallix
