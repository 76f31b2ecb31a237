#include "exchange/files/exportledger.h"

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/appdata.h"
#include "framework/file.h"
#include "framework/pathtext.h"

namespace {

constexpr const char* kReplaceCaption = "Export";
constexpr const char* kRecordName = "exported-files.txt";
// A line "SIZE CHECKSUM PATH" records a file; "- PATH" forgets it. Later
// lines win; the record is written anew once most of its lines are stale.
constexpr std::string_view kForgotten = "-";
constexpr size_t kStaleLinesAllowed = 256;

// FNV-1a: the same number on every platform and in every run, which a
// standard library hash does not promise.
uint64_t Checksum(std::string_view bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (const char byte : bytes) hash = (hash ^ uint8_t(byte)) * 1099511628211ull;
    return hash;
}

// The file's contents when it has the size expected (only then do its bytes
// matter, and only then are they read); nothing when it cannot be read.
std::optional<ExportLedger::Contents> ContentsOf(const std::filesystem::path& file,
                                                 std::optional<uint64_t> expectedSize) {
    try {
        fw::File in(file, fw::File::Mode::read);
        const uint64_t size = in.Length();
        if (expectedSize && size != *expectedSize) return ExportLedger::Contents{size, 0};
        std::string bytes(size, '\0');
        bytes.resize(in.Read(bytes.data(), bytes.size()));
        return ExportLedger::Contents{bytes.size(), Checksum(bytes)};
    } catch (const fw::FileException&) {
        return std::nullopt;
    }
}

std::string KeyOf(const std::filesystem::path& file) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(file, error);
    return fw::Utf8FromPath((error ? file : absolute).lexically_normal());
}

std::string LineOf(const std::string& path, const ExportLedger::Contents* contents) {
    if (!contents) return std::string(kForgotten) + ' ' + path + '\n';
    char checksum[17];
    const auto end = std::to_chars(checksum, checksum + 16, contents->checksum, 16).ptr;
    return std::to_string(contents->size) + ' ' + std::string(checksum, end) + ' ' + path + '\n';
}

std::string_view NextWord(std::string_view& line) {
    const size_t space = line.find(' ');
    const std::string_view word = line.substr(0, space);
    line.remove_prefix(space == std::string_view::npos ? line.size() : space + 1);
    return word;
}

template <typename Number>
bool Parse(std::string_view word, Number& value, int base = 10) {
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
    return error == std::errc() && end == word.data() + word.size() && !word.empty();
}

}  // namespace

void ExportLedger::KeepIn(const std::filesystem::path& recordFile) {
    recordFile_ = recordFile;
    recordRead_ = false;
}

void ExportLedger::KeepInDataFolder() {
    try {
        KeepIn(fw::ApplicationDataFolder() / kRecordName);
    } catch (const fw::FileException&) {
        // Without a data folder the exports are guarded for this run only.
    }
}

void ExportLedger::Remember(const std::filesystem::path& file) {
    LoadOnce();
    const auto contents = ContentsOf(file, std::nullopt);
    Note(KeyOf(file), contents ? &*contents : nullptr);
}

void ExportLedger::Remember(const std::filesystem::path& file, std::span<const uint8_t> written) {
    const std::string_view bytes(reinterpret_cast<const char*>(written.data()), written.size());
    const Contents contents{bytes.size(), Checksum(bytes)};
    LoadOnce();
    Note(KeyOf(file), &contents);
}

bool ExportLedger::MayReplace(fw::UiServices& ui, const std::filesystem::path& file) {
    LoadOnce();
    const auto known = known_.find(KeyOf(file));
    std::error_code error;
    if (known == known_.end() || !std::filesystem::exists(file, error)) return true;
    if (ContentsOf(file, known->second.size) == known->second) return true;
    const std::string question = fw::Utf8FromPath(file.filename()) + " was changed since it was exported. Replace it?";
    const fw::MessageStyle style{fw::MessageButtons::yesNo, fw::MessageIcon::question, true};
    return ui.ShowMessage(question, kReplaceCaption, style) == fw::MessageResult::yes;
}

void ExportLedger::Note(const std::string& key, const Contents* contents) {
    if (contents)
        known_[key] = *contents;
    else if (!known_.erase(key))
        return;
    // A line feed in a name would break the record's lines: such a file is
    // guarded for this run only.
    const std::string line = LineOf(key, contents);
    if (recordFile_.empty() || line.find('\n') + 1 != line.size()) return;
    try {
        fw::File record;
        std::error_code error;
        if (std::filesystem::exists(recordFile_, error)) {
            record.Open(recordFile_, fw::File::Mode::readWrite);
            record.Seek(record.Length());
        } else {
            record.Open(recordFile_, fw::File::Mode::createWrite);
        }
        record.Write(line.data(), line.size());
        record.Close();
        ++recordLines_;
    } catch (const fw::FileException&) {
        recordFile_.clear();
    }
}

void ExportLedger::LoadOnce() {
    if (recordRead_) return;
    recordRead_ = true;
    std::string text;
    try {
        fw::File record(recordFile_, fw::File::Mode::read);
        text.resize(record.Length());
        text.resize(record.Read(text.data(), text.size()));
    } catch (const fw::FileException&) {
        return;  // no record yet, or none to be had: it is made at the first export
    }
    std::string_view rest = text;
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        ++recordLines_;
        const std::string_view first = NextWord(line);
        if (first == kForgotten) {
            known_.erase(std::string(line));
            continue;
        }
        Contents contents;
        if (Parse(first, contents.size) && Parse(NextWord(line), contents.checksum, 16) && !line.empty())
            known_[std::string(line)] = contents;
    }
    // Export folders come and go (a temporary one, a renamed mod): a file no
    // longer there needs no guard, and without forgetting it the record would
    // grow by every export ever made.
    const size_t gone = std::erase_if(known_, [](const auto& entry) {
        std::error_code error;
        return !std::filesystem::exists(fw::PathFromUtf8(entry.first), error) && !error;
    });
    if (gone || recordLines_ > 2 * known_.size() + kStaleLinesAllowed) Rewrite();
}

// The live lines into a file beside the record, which then takes its place:
// a cut-short rewrite leaves the old record whole.
void ExportLedger::Rewrite() {
    std::string text;
    for (const auto& [key, contents] : known_) text += LineOf(key, &contents);
    auto fresh = recordFile_;
    fresh += ".new";
    try {
        fw::File record(fresh, fw::File::Mode::createWrite);
        record.Write(text.data(), text.size());
        record.Flush();
        record.Close();
        std::filesystem::rename(fresh, recordFile_);
        recordLines_ = known_.size();
    } catch (const std::exception&) {
        std::error_code error;
        std::filesystem::remove(fresh, error);
    }
}
