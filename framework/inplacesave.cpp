#include "framework/inplacesave.h"

#include <cstring>
#include <vector>

#include "framework/pathtext.h"
#include "framework/savejournal.h"

namespace fw {

namespace {

constexpr size_t kPage = 4096;              // the unit a disk writes: ranges are whole pages
constexpr size_t kBlock = size_t(1) << 20;  // the file is compared a block at a time

struct Range {
    uint64_t offset = 0;
    uint64_t length = 0;
};

// Adds a range, joined to the last one when they touch.
void AddRange(std::vector<Range>& ranges, uint64_t offset, uint64_t length) {
    if (!ranges.empty() && ranges.back().offset + ranges.back().length == offset) {
        ranges.back().length += length;
        return;
    }
    ranges.push_back({offset, length});
}

// Compares one block of the file with the image, page by page, and
// journals each run of differing pages.
void CompareBlock(std::span<const uint8_t> disk, std::span<const uint8_t> image, uint64_t at, SaveJournal& journal,
                  std::vector<Range>& ranges) {
    size_t page = 0;
    while (page < disk.size()) {
        const auto differs = [&](size_t p) {
            const size_t n = std::min(kPage, disk.size() - p);
            return std::memcmp(disk.data() + p, image.data() + p, n) != 0;
        };
        if (!differs(page)) {
            page += kPage;
            continue;
        }
        size_t end = page;
        while (end < disk.size() && differs(end)) end += kPage;
        end = std::min(end, disk.size());
        journal.Add(at + page, disk.subspan(page, end - page), image.subspan(page, end - page));
        AddRange(ranges, at + page, end - page);
        page = end;
    }
}

std::vector<Range> JournalChanges(File& file, std::span<const uint8_t> image, SaveJournal& journal) {
    std::vector<uint8_t> block(std::min(kBlock, image.size()));
    std::vector<Range> ranges;
    file.Seek(0);
    for (uint64_t at = 0; at < image.size(); at += kBlock) {
        const size_t step = static_cast<size_t>(std::min<uint64_t>(image.size() - at, kBlock));
        if (file.Read(block.data(), step) != step)
            throw FileException(FileException::Cause::endOfFile, Utf8FromPath(file.path()));
        CompareBlock({block.data(), step}, image.subspan(at, step), at, journal, ranges);
    }
    return ranges;
}

void WriteRanges(File& file, std::span<const uint8_t> image, const std::vector<Range>& ranges) {
    for (const auto& range : ranges) {
        file.Seek(range.offset);
        file.Write(image.data() + range.offset, range.length);
    }
    file.Flush();
}

}  // namespace

uint64_t SaveInPlace(File& file, std::span<const uint8_t> image, const std::filesystem::path& journalFolder) {
    SaveJournal journal;
    const FileIdentity identity = file.Identity();
    journal.Begin(JournalPathFor(journalFolder, identity), identity, Utf8FromPath(file.path()));
    const std::vector<Range> ranges = JournalChanges(file, image, journal);
    if (ranges.empty()) return 0;  // the unsealed journal goes with its owner
    journal.Seal();
    try {
        WriteRanges(file, image, ranges);
    } catch (const FileException&) {
        // The journal holds the old bytes; should even this fail, it stays for the next open.
        try {
            ReplayJournal(file, journal.path());
        } catch (const FileException&) {}
        throw;
    }
    journal.Finish();
    uint64_t written = 0;
    for (const auto& range : ranges) written += range.length;
    return written;
}

}  // namespace fw
