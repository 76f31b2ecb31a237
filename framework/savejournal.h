#pragma once
#include <cstdint>
#include <filesystem>
#include <span>

#include "framework/file.h"

namespace fw {

// The rollback journal of a save in place: before a byte of the file
// changes, the journal holds the old and the new bytes of every range the
// save rewrites, the file's identity and a checksum, flushed to disk. It is
// removed once the file's writes are flushed, so a journal that is still
// there tells of a save that was cut short, and holds what puts it back.
//
// Layout (every number 8 bytes, little-endian):
//   magic "PALLIXJ1"
//   identity of the file: device, index (inode), size
//   per range: offset, length, then `length` old bytes, then `length` new bytes
//   end record: the offset ~0 (the end mark), then in the length slot the
//     number of ranges before it
//   checksum: FNV-1a (64 bit) of every byte above
// The end record reuses the length slot for the count, so a reader walks
// offset/length pairs to the end mark without knowing the count up front.
//
// Write order of a save: Begin and Add write the journal while the file is
// compared with the image; Seal writes the end record and the checksum,
// flushes the journal and its folder; only then are the file's ranges
// written and flushed; Finish removes the journal and flushes the folder.
// A save that finds nothing to change leaves no journal.
//
// Recovery, when the file is next opened (ReplayJournal):
// - no journal, or one that is cut short, whose checksum does not hold, or
//   whose count does not match: it was never sealed (the file was not yet
//   touched) or it is damaged; it is removed and the file left as it is;
// - the journal names another identity (device, index or size): stale, the
//   file was replaced since; removed, the file left as it is;
// - some range holds bytes that are neither its old nor its new bytes:
//   stale, another program changed the file; removed, the file left as it is;
// - every range holds its new bytes: the save had been written in full and
//   is completed after all;
// - otherwise the file is rolled back to the old bytes of every range.
//
// Its one limit: the journal lives in the data folder of the user who
// saved, on that machine. A file that another user or another machine
// opens after the crash is not repaired there; the saver's next open of it
// repairs it, or finds it stale.
class SaveJournal {
public:
    SaveJournal() = default;
    ~SaveJournal() { Discard(); }
    SaveJournal(const SaveJournal&) = delete;
    SaveJournal& operator=(const SaveJournal&) = delete;

    // Starts the journal of a save of the file with this identity. Raises a
    // FileException naming the journal when it cannot be written, and one
    // naming the file when a journal for it already exists: another save of
    // it is under way, or an interrupted one was not yet put back.
    void Begin(const std::filesystem::path& journal, const FileIdentity& file, const std::string& fileName);
    void Add(uint64_t offset, std::span<const uint8_t> oldBytes, std::span<const uint8_t> newBytes);
    // Closes the journal and flushes it to disk: only then may the file change.
    void Seal();
    // The save is complete and flushed: the journal goes.
    void Finish();
    // Removes an unsealed journal, which no file write relies on yet.
    void Discard() noexcept;
    const std::filesystem::path& path() const { return path_; }

private:
    void Put(const void* bytes, size_t count);

    File file_;
    std::filesystem::path path_;
    uint64_t checksum_ = 0;
    uint64_t records_ = 0;
    bool sealed_ = false;
};

// Where the journal of a save of the file with this identity lies.
std::filesystem::path JournalPathFor(const std::filesystem::path& folder, const FileIdentity& file);

enum class Replay {
    noJournal,   // nothing to do; also for a journal cut short, written before any byte of the file
    rolledBack,  // the file was put back to its content before the save
    completed,   // every range already held its new bytes: the save had been written in full
    stale,       // the file no longer matches the journal: changed by someone else, left as it is
};

// Puts the file, open for reading and writing, back as the journal says and
// removes the journal. Raises a FileException when the file cannot be
// written; the journal then stays for the next attempt.
Replay ReplayJournal(File& file, const std::filesystem::path& journal);

}  // namespace fw
