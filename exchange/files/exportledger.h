#pragma once
#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
#include <string>

#include "framework/uiservices.h"

// What each export file held when an export last wrote it, so that an
// export does not replace, unasked, a file the user has changed since: the
// texture they are painting, the mesh they are editing. Kept in memory, and
// with KeepIn also in a record in the program's own data folder, so that the
// work of a later session is safe too. The export folder holds only the
// user's files: a record there would be carried into whatever they pack.
// A file nobody recorded is replaced as it always was: nothing tells the
// user's work from an export of ours made before the record was kept.
class ExportLedger {
public:
    // Takes in what earlier runs recorded in the file and adds to it from
    // now on. The record is read when an export first asks about a file, not
    // before: a session that exports nothing never pays for a long record.
    // A record that cannot be read or written leaves the ledger in memory
    // only: it guards this run, and exports go on.
    void KeepIn(const std::filesystem::path& recordFile);
    // The same with the record in the program's data folder, as the
    // programs keep it.
    void KeepInDataFolder();

    // Notes the file, as it is now, as the export folder's own: just written
    // by an export, or read whole by an import, so that the next export of
    // the same item may replace it without asking.
    void Remember(const std::filesystem::path& file);
    // The same for a file just written with these bytes, without reading it
    // back.
    void Remember(const std::filesystem::path& file, std::span<const uint8_t> written);

    // Whether an export may write the file: it is not there, no export wrote
    // it, it is still as the export left it, or the user answered Yes to
    // replacing it.
    bool MayReplace(fw::UiServices& ui, const std::filesystem::path& file);

    // What a file held: its modification time is left out on purpose, as an
    // editor that saved the file without a change has made nothing an export
    // could lose.
    struct Contents {
        uint64_t size = 0;
        uint64_t checksum = 0;
        bool operator==(const Contents&) const = default;
    };

private:
    void Note(const std::string& key, const Contents* contents);
    void LoadOnce();
    void Rewrite();

    // By the absolute, lexically normal path's UTF-8: a string compares in
    // one memcmp where a path compares component by component.
    std::map<std::string, Contents> known_;
    std::filesystem::path recordFile_;
    bool recordRead_ = true;  // nothing to read until KeepIn names a record
    size_t recordLines_ = 0;
};
