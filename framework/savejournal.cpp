#include "framework/savejournal.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "framework/littleendian.h"
#include "framework/pathtext.h"

namespace fw {

namespace {

constexpr char kMagic[8] = {'P', 'A', 'L', 'L', 'I', 'X', 'J', '1'};
constexpr uint64_t kEndMark = ~uint64_t(0);  // the offset that closes the list of ranges
constexpr size_t kChunk = size_t(1) << 20;   // bounds the memory a journal of any size needs

uint64_t Fnv1a(uint64_t hash, const void* bytes, size_t count) {
    const auto* p = static_cast<const uint8_t*>(bytes);
    for (size_t i = 0; i < count; ++i) hash = (hash ^ p[i]) * 0x100000001b3ULL;
    return hash;
}
constexpr uint64_t kFnvStart = 0xcbf29ce484222325ULL;

std::array<uint8_t, 8> LittleEndian(uint64_t value) {
    std::array<uint8_t, 8> bytes{};
    pallix::WriteLE<uint64_t>(bytes, 0, value);
    return bytes;
}

void RemoveJournal(const std::filesystem::path& journal) {
    std::error_code ignored;
    std::filesystem::remove(journal, ignored);
    FlushFolder(journal.parent_path());
}

// One range of the journal: where it goes in the file and where its old
// bytes lie in the journal; its new bytes follow the old.
struct JournalRange {
    uint64_t offset = 0;
    uint64_t length = 0;
    uint64_t oldAt = 0;
};

// Reads a journal front to back, checking its checksum as it goes.
class JournalReader {
public:
    explicit JournalReader(File& journal) : journal_(journal) {}

    bool Take(void* bytes, size_t count) {
        if (journal_.Read(bytes, count) != count) return false;
        checksum_ = Fnv1a(checksum_, bytes, count);
        position_ += count;
        return true;
    }
    std::optional<uint64_t> TakeNumber() {
        std::array<uint8_t, 8> bytes{};
        if (!Take(bytes.data(), bytes.size())) return std::nullopt;
        return pallix::ReadLE<uint64_t>(bytes, 0);
    }
    bool Skip(uint64_t count) {
        std::vector<uint8_t> buffer(static_cast<size_t>(std::min<uint64_t>(count, kChunk)));
        for (uint64_t done = 0; done < count;) {
            const size_t step = static_cast<size_t>(std::min<uint64_t>(count - done, kChunk));
            if (!Take(buffer.data(), step)) return false;
            done += step;
        }
        return true;
    }
    uint64_t checksum() const { return checksum_; }
    uint64_t position() const { return position_; }

private:
    File& journal_;
    uint64_t checksum_ = kFnvStart;
    uint64_t position_ = 0;
};

// The journal's ranges when it is complete, its checksum holds and it
// belongs to this file as it is now; nothing when it was cut short.
std::optional<std::vector<JournalRange>> ReadRanges(File& journal, const FileIdentity& file, bool& stale) {
    JournalReader reader(journal);
    char magic[sizeof kMagic];
    if (!reader.Take(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof magic) != 0) return std::nullopt;
    const auto device = reader.TakeNumber(), index = reader.TakeNumber(), size = reader.TakeNumber();
    if (!size) return std::nullopt;
    std::vector<JournalRange> ranges;
    for (;;) {
        const auto offset = reader.TakeNumber(), length = reader.TakeNumber();
        if (!length) return std::nullopt;
        if (*offset == kEndMark) {
            const uint64_t expected = reader.checksum();
            const auto checksum = reader.TakeNumber();
            if (!checksum || *checksum != expected || *length != ranges.size()) return std::nullopt;
            break;
        }
        if (*offset > *size || *length > *size - *offset) return std::nullopt;
        ranges.push_back({*offset, *length, reader.position()});
        if (!reader.Skip(2 * *length)) return std::nullopt;
    }
    stale = *device != file.device || *index != file.index || *size != file.size;
    return ranges;
}

void ReadAt(File& file, uint64_t offset, uint8_t* buffer, size_t count) {
    file.Seek(offset);
    if (file.Read(buffer, count) != count)
        throw FileException(FileException::Cause::endOfFile, Utf8FromPath(file.path()));
}

enum class RangeState { old, fresh, torn, foreign };

// Whether the file holds the range's old bytes, its new ones, a mix of the
// two (a write cut short), or anything else.
RangeState StateOf(File& file, File& journal, const JournalRange& range) {
    // Most ranges are a few bytes: three chunks' worth of fresh pages for
    // each would cost more than reading it.
    const size_t buffer = static_cast<size_t>(std::min<uint64_t>(range.length, kChunk));
    std::vector<uint8_t> now(buffer), before(buffer), after(buffer);
    bool allOld = true, allNew = true;
    for (uint64_t done = 0; done < range.length; done += kChunk) {
        const size_t step = static_cast<size_t>(std::min<uint64_t>(range.length - done, kChunk));
        ReadAt(file, range.offset + done, now.data(), step);
        ReadAt(journal, range.oldAt + done, before.data(), step);
        ReadAt(journal, range.oldAt + range.length + done, after.data(), step);
        for (size_t i = 0; i < step; ++i) {
            if (now[i] != before[i] && now[i] != after[i]) return RangeState::foreign;
            allOld = allOld && now[i] == before[i];
            allNew = allNew && now[i] == after[i];
        }
    }
    return allOld ? RangeState::old : allNew ? RangeState::fresh : RangeState::torn;
}

void RollBack(File& file, File& journal, const std::vector<JournalRange>& ranges) {
    std::vector<uint8_t> buffer(kChunk);
    for (const auto& range : ranges) {
        for (uint64_t done = 0; done < range.length; done += kChunk) {
            const size_t step = static_cast<size_t>(std::min<uint64_t>(range.length - done, kChunk));
            ReadAt(journal, range.oldAt + done, buffer.data(), step);
            file.Seek(range.offset + done);
            file.Write(buffer.data(), step);
        }
    }
    file.Flush();
}

}  // namespace

std::filesystem::path JournalPathFor(const std::filesystem::path& folder, const FileIdentity& file) {
    char name[64];
    std::snprintf(name, sizeof name, "%llx-%llx.journal", static_cast<unsigned long long>(file.device),
                  static_cast<unsigned long long>(file.index));
    return folder / name;
}

void SaveJournal::Begin(const std::filesystem::path& journal, const FileIdentity& file, const std::string& fileName) {
    Discard();
    try {
        file_.Open(journal, File::Mode::createPrivate);
    } catch (const FileException& error) {
        if (error.cause() == FileException::Cause::alreadyExists)
            throw FileException(FileException::Cause::sharingViolation, fileName);
        throw;
    }
    path_ = journal;
    checksum_ = kFnvStart;
    records_ = 0;
    Put(kMagic, sizeof kMagic);
    for (uint64_t number : {file.device, file.index, file.size}) Put(LittleEndian(number).data(), 8);
}

void SaveJournal::Add(uint64_t offset, std::span<const uint8_t> oldBytes, std::span<const uint8_t> newBytes) {
    Put(LittleEndian(offset).data(), 8);
    Put(LittleEndian(oldBytes.size()).data(), 8);
    Put(oldBytes.data(), oldBytes.size());
    Put(newBytes.data(), newBytes.size());
    ++records_;
}

void SaveJournal::Seal() {
    Put(LittleEndian(kEndMark).data(), 8);
    Put(LittleEndian(records_).data(), 8);
    file_.Write(LittleEndian(checksum_).data(), 8);
    file_.Flush();
    file_.Close();
    // The journal's name must last as well as its bytes before the file changes.
    FlushFolder(path_.parent_path());
    sealed_ = true;
}

void SaveJournal::Finish() {
    File::BeforeWrite();
    RemoveJournal(path_);
    path_.clear();
    sealed_ = false;
}

void SaveJournal::Discard() noexcept {
    file_.Abort();
    if (!path_.empty() && !sealed_) {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    path_.clear();
}

void SaveJournal::Put(const void* bytes, size_t count) {
    file_.Write(bytes, count);
    checksum_ = Fnv1a(checksum_, bytes, count);
}

Replay ReplayJournal(File& file, const std::filesystem::path& journalPath) {
    std::error_code missing;
    if (!std::filesystem::exists(journalPath, missing)) return Replay::noJournal;
    File journal(journalPath, File::Mode::read);
    bool stale = false;
    const auto ranges = ReadRanges(journal, file.Identity(), stale);
    if (!ranges || stale) {
        journal.Close();
        RemoveJournal(journalPath);
        return ranges ? Replay::stale : Replay::noJournal;
    }
    bool allNew = true;
    for (const auto& range : *ranges) {
        const RangeState state = StateOf(file, journal, range);
        if (state == RangeState::foreign) {
            journal.Close();
            RemoveJournal(journalPath);
            return Replay::stale;
        }
        allNew = allNew && state == RangeState::fresh;
    }
    if (!allNew) RollBack(file, journal, *ranges);
    journal.Close();
    RemoveJournal(journalPath);
    return allNew ? Replay::completed : Replay::rolledBack;
}

}  // namespace fw
