#include "datafile/bankscan.h"

#include <algorithm>
#include <cstring>

#include "datafile/layouts.h"
#include "framework/littleendian.h"

namespace pallix {

namespace {

struct BankHeaderFields {
    uint16_t objectCount;
    uint16_t bitmapCount;
    uint32_t firstModel;
};

// A genuine file holds far fewer than one bank, model or bitmap per 64
// bytes: a usable model record alone takes 104. Records of size 0 repeat in
// place and banks may overlap, so a few hostile bytes could otherwise ask
// for billions of tree items; the scan ends when the budget is spent. Each
// record costs the tree some 450 bytes, so the budget also has a ceiling:
// a crafted file of one record per 64 bytes would otherwise make the tree
// take seven times the file's size in memory (7 GB for a 1 GiB file).
class RecordBudget {
public:
    explicit RecordBudget(size_t imageSize) : left_(std::min(imageSize / 64 + 64, kMaxRecords)) {}
    bool Take() { return left_ > 0 && left_-- > 0; }
    bool Spent() const { return left_ == 0; }

private:
    static constexpr size_t kMaxRecords = size_t(1) << 20;  // some 450 MB of tree at most
    size_t left_;
};

bool ReadHeader(std::span<const uint8_t> image, uint64_t p, BankHeaderFields& header) {
    if (!FitsIn(image, p, BankHeader::kSize)) return false;
    header.objectCount = *ReadU16(image, p + BankHeader::kObjectCount);
    header.bitmapCount = *ReadU16(image, p + BankHeader::kBitmapCount);
    header.firstModel = *ReadU32(image, p + BankHeader::kFirstModel);
    return true;
}

// Whether the record at q would need bytes past the end of the image: the
// file was cut there.
// A record said to start beyond the end is nonsense, not a cut.
bool RunsPastEnd(std::span<const uint8_t> image, uint64_t q, uint64_t size) {
    return q <= image.size() && q + size > image.size();
}

// Reports the models from q on; returns false when one did not fit, and
// sets cut when that one ran past the end of the image.
bool WalkModels(std::span<const uint8_t> image, uint16_t count, uint64_t& q, BankVisitor& visitor, RecordBudget& budget,
                bool& cut) {
    for (uint32_t i = 0; i < count; ++i) {
        if (!FitsIn(image, q, ModelRecord::kTriangleCount + 2)) {
            cut = RunsPastEnd(image, q, ModelRecord::kTriangleCount + 2);
            return false;
        }
        if (!budget.Take()) return false;
        ModelEntry model;
        model.offset = static_cast<uint32_t>(q);
        model.recordSize = *ReadU32(image, q + ModelRecord::kRecordSize);
        if (!FitsIn(image, q, model.recordSize)) {
            cut = RunsPastEnd(image, q, model.recordSize);
            return false;
        }
        model.name = FieldName(image, q + ModelRecord::kName, ModelRecord::kNameSize);
        model.vertexCount = *ReadU16(image, q + ModelRecord::kVertexCount);
        model.triangleCount = *ReadU16(image, q + ModelRecord::kTriangleCount);
        visitor.OnModel(model);
        q += model.recordSize;
    }
    return true;
}

void WalkBitmaps(std::span<const uint8_t> image, uint16_t declared, uint64_t& q, BankVisitor& visitor,
                 RecordBudget& budget, bool& cut) {
    const uint32_t count = declared > BitmapRecord::kMaxPerBank ? 0 : declared;
    for (uint32_t j = 0; j < count; ++j) {
        const auto length = ReadU32(image, q + BitmapRecord::kData + BitmapRecord::kBmpFileSize);
        if (!length) {
            cut = RunsPastEnd(image, q, BitmapRecord::kData + BitmapRecord::kBmpFileSize + 4);
            return;
        }
        if (*length > BitmapRecord::kMaxLength) return;
        if (!FitsIn(image, q + BitmapRecord::kData, *length)) {
            cut = RunsPastEnd(image, q + BitmapRecord::kData, *length);
            return;
        }
        if (!budget.Take()) return;
        BitmapEntry bitmap;
        bitmap.index = j;
        bitmap.dataOffset = static_cast<uint32_t>(q + BitmapRecord::kData);
        bitmap.length = *length;
        bitmap.name = FieldName(image, q + BitmapRecord::kName, BitmapRecord::kNameSize);
        visitor.OnBitmap(bitmap);
        q += BitmapRecord::kData + *length;
    }
}

// Walks the bank whose tag is at p and returns its end position. Records are
// trusted as stored, but only what lies wholly inside the image is reported:
// the first record that does not ends the bank there.
// The bank whose record runs past the end of the image is told to the
// visitor, with the record's offset.
uint64_t WalkBank(std::span<const uint8_t> image, uint64_t p, const BankEntry& bank, const BankHeaderFields& header,
                  BankVisitor& visitor, RecordBudget& budget) {
    uint64_t q = p + header.firstModel;
    bool cut = false;
    if (WalkModels(image, header.objectCount, q, visitor, budget, cut))
        WalkBitmaps(image, header.bitmapCount, q, visitor, budget, cut);
    if (cut) visitor.OnBankCut(bank, q);
    return q;
}

bool HasTagAt(std::span<const uint8_t> image, uint64_t p) {
    return FitsIn(image, p, 4) && std::memcmp(image.data() + p, BankHeader::kTagText, 4) == 0;
}

// The next position at or after p where a tag may start.
uint64_t NextCandidate(std::span<const uint8_t> image, uint64_t p) {
    if (p >= image.size()) return image.size();
    const void* found = std::memchr(image.data() + p, BankHeader::kTagText[0], image.size() - p);
    return found ? static_cast<uint64_t>(static_cast<const uint8_t*>(found) - image.data()) : image.size();
}

}  // namespace

std::string FieldName(std::span<const uint8_t> image, uint64_t offset, uint32_t fieldSize) {
    std::string name;
    for (uint32_t i = 0; i < fieldSize && offset + i < image.size(); ++i) {
        const char c = static_cast<char>(image[offset + i]);
        if (c == '\0') break;
        name += c;
    }
    return name;
}

void ScanBanks(std::span<const uint8_t> image, BankVisitor& visitor) {
    RecordBudget budget(image.size());
    uint32_t number = 0;
    uint64_t p = NextCandidate(image, 0);
    while (p < image.size() && !budget.Spent()) {
        BankHeaderFields header{};
        if (!HasTagAt(image, p) || !ReadHeader(image, p, header) || !budget.Take()) {
            p = NextCandidate(image, p + 1);
            continue;
        }
        const BankEntry bank{++number, static_cast<uint32_t>(p), header.objectCount, header.bitmapCount};
        visitor.OnBank(bank);
        const uint64_t end = WalkBank(image, p, bank, header, visitor, budget);
        const uint64_t next = header.objectCount > 0 ? (end >= 15 ? end - 15 : 0) : end + 1;
        // Always forward, even when a bank's end points back at or before its tag.
        p = NextCandidate(image, next > p ? next : p + 1);
    }
}

}  // namespace pallix
