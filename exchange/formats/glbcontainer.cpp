#include "exchange/formats/glbcontainer.h"

#include "framework/littleendian.h"

namespace {

constexpr uint32_t kMagic = 0x46546C67;  // "glTF"
constexpr uint32_t kJsonChunk = 0x4E4F534A, kBinChunk = 0x004E4942;
constexpr size_t kHeaderSize = 12, kChunkHeaderSize = 8;

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    out.resize(out.size() + 4);
    pallix::WriteLE<uint32_t>(out, out.size() - 4, value);
}

// Callers check the bounds first; a read past the end gives 0.
uint32_t Get32(std::span<const uint8_t> bytes, size_t at) { return pallix::ReadU32(bytes, at).value_or(0); }

void PutChunk(std::vector<uint8_t>& out, uint32_t type, std::span<const uint8_t> data, uint8_t padding) {
    const size_t padded = (data.size() + 3) / 4 * 4;
    Put32(out, uint32_t(padded));
    Put32(out, type);
    out.insert(out.end(), data.begin(), data.end());
    out.resize(out.size() + padded - data.size(), padding);
}

}  // namespace

std::vector<uint8_t> GlbBytes(const std::string& json, const std::vector<uint8_t>& bin) {
    std::vector<uint8_t> out;
    Put32(out, kMagic);
    Put32(out, 2);
    Put32(out, 0);  // the length, known at the end
    // The JSON chunk is padded with spaces, the BIN chunk with zeros.
    PutChunk(out, kJsonChunk, std::span(reinterpret_cast<const uint8_t*>(json.data()), json.size()), ' ');
    if (!bin.empty()) PutChunk(out, kBinChunk, bin, 0);
    pallix::WriteLE<uint32_t>(out, 8, uint32_t(out.size()));
    return out;
}

fw::Expected<GlbChunks> SplitGlb(std::span<const uint8_t> file) {
    if (file.size() < kHeaderSize + kChunkHeaderSize || Get32(file, 0) != kMagic)
        return fw::Refuse("it does not begin as a binary glTF file does");
    if (Get32(file, 4) != 2)
        return fw::Refuse("it is a binary glTF file of version " + std::to_string(Get32(file, 4)) + ", not 2");
    if (Get32(file, 8) != file.size())
        return fw::Refuse("its header gives a length other than the file's (the file is cut short or damaged)");
    GlbChunks chunks;
    size_t at = kHeaderSize;
    for (int index = 0; at < file.size(); ++index) {
        if (file.size() - at < kChunkHeaderSize || Get32(file, at) > file.size() - at - kChunkHeaderSize)
            return fw::Refuse("a chunk's length reaches past the end of the file (the file is damaged)");
        const auto data = file.subspan(at + kChunkHeaderSize, Get32(file, at));
        const uint32_t type = Get32(file, at + 4);
        if (index == 0 && type == kJsonChunk) chunks.json = data;
        if (index == 1 && type == kBinChunk) chunks.bin = data;
        at += kChunkHeaderSize + data.size();
    }
    if (chunks.json.empty()) return fw::Refuse("its first chunk holds no JSON");
    return chunks;
}
