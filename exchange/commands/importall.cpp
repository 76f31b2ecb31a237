// Import All of a bank or of the whole file: what the user changed in the
// export folder comes back in, the rest stays as it is. Every file is
// compared before anything is imported, so that a bitmap read in never
// changes what its copies are compared against.
#include "exchange/commands/importall.h"

#include <algorithm>
#include <map>
#include <new>
#include <optional>

#include "exchange/bitmap/bitmapimport.h"
#include "exchange/bitmap/replacebitmap.h"
#include "exchange/commands/batchsteps.h"
#include "exchange/commands/exportbanks.h"
#include "exchange/commands/imagebackup.h"
#include "exchange/commands/modelexport.h"
#include "exchange/commands/modelimport.h"
#include "exchange/commands/modeljob.h"
#include "exchange/files/exportpaths.h"
#include "exchange/files/filecomparison.h"
#include "exchange/formats/formatfiles.h"
#include "exchange/formats/picture.h"
#include "exchange/model/modelformattable.h"
#include "framework/os.h"
#include "framework/pathtext.h"

namespace {

constexpr const char* kCaption = "Import All";
constexpr size_t kRefusalsListed = 30;

// An item whose file differs from what exporting it now would write.
struct PendingImport {
    ItemRecord record;
    std::filesystem::path file;
    std::string name;  // as the summary names it
    std::vector<uint32_t> copies;
    TextureNames textures;
    const ModelFormat* format = nullptr;  // a model's file's
    std::vector<uint8_t> bytes;           // a bitmap's new bytes, as the import rule made them
};

struct ImportTally {
    std::vector<PendingImport> pending;
    size_t imported = 0;
    size_t unchanged = 0;
    std::vector<std::string> refused;  // "name: reason"
    std::vector<uint8_t> fileBytes;    // the file being compared
};

// Where the bitmaps lie that repeat each bitmap, by the repeated one's offset.
using CopyIndex = std::multimap<uint32_t, uint32_t>;

// What one bank is compared with.
struct BankFiles {
    const CommandContext& bank;
    const CopyIndex& copies;
    std::string prefix;                                       // the bank's folder in names, for the root's summary
    std::optional<std::vector<fw::os::FolderEntry>> entries;  // of the export folder, when it could be listed
};

// The bytes of a file of the length it was found to have, into a buffer
// that serves file after file: a file made larger since is not read whole.
void ReadFileOfLength(const std::filesystem::path& path, uint64_t length, std::vector<uint8_t>& bytes) {
    bytes.clear();
    fw::File file(path, fw::File::Mode::read);
    if (file.Length() != length) return;
    bytes.resize(length);
    bytes.resize(file.Read(bytes.data(), bytes.size()));
}

// Of an item's files in the formats of a table, the one written last: the
// one the user worked on. Files of other formats may be older exports,
// which would take back what that one brought in. One look at each name
// tells its time and its length.
template <typename Format>
struct LatestFile {
    const Format* format = nullptr;
    std::string name;
    std::optional<uint64_t> length;  // none unless it is an ordinary file
};
// That file, by what `look` tells of each name a format gives it.
template <typename Format, typename Look>
std::optional<LatestFile<Format>> LatestOf(const std::string& stem, std::span<const Format> formats, Look&& look) {
    std::optional<LatestFile<Format>> latest;
    int64_t latestTime = 0;
    for (const Format& format : formats) {
        const std::string name = stem + format.extension;
        // The system's own time: MinGW's last_write_time has whole seconds.
        fw::os::FileLook seen;
        if (!look(name, seen) || (latest && seen.modified <= latestTime)) continue;
        latest = LatestFile<Format>{&format, name, seen.ordinary ? std::optional(seen.length) : std::nullopt};
        latestTime = seen.modified;
    }
    return latest;
}
template <typename Format>
std::optional<LatestFile<Format>> FileWrittenLast(const BankFiles& files, const std::string& stem,
                                                  std::span<const Format> formats) {
    // The folder's listing tells of the names it holds as they are spelt; a
    // name found in it under no spelling may still be there under another
    // (a file system blind to case), and is looked at by name.
    if (files.entries) {
        const auto listed = LatestOf(stem, formats, [&](const std::string& name, fw::os::FileLook& seen) {
            const auto entry = std::find_if(files.entries->begin(), files.entries->end(), [&](const auto& candidate) {
                return fw::os::SamePathText(candidate.name, name);
            });
            if (entry != files.entries->end()) seen = entry->look;
            return entry != files.entries->end();
        });
        if (listed) return listed;
    }
    return LatestOf(stem, formats, [&](const std::string& name, fw::os::FileLook& seen) {
        return fw::os::LookAtFile(files.bank.exportFolder / fw::PathFromUtf8(name), seen);
    });
}

// The bitmap's BMP or PNG file, whichever was written last, taken by the
// one bitmap import rule: unchanged when it would leave the bitmap as it is.
void CompareBitmap(const BankFiles& files, const ItemRecord& record, ImportTally& tally) {
    const std::string stem = fw::Utf8FromPath(fw::PathFromUtf8(BitmapFileName(record.nOffset)).stem());
    const auto file = FileWrittenLast(files, stem, BitmapFormats());
    if (!file || !file->length) {
        ++tally.unchanged;
        return;
    }
    // A picture's file is read only when it is of a size a picture can have.
    if (*file->length > kMaxPictureFileBytes) {
        tally.refused.push_back(files.prefix + file->name + ": the file is larger than any picture; it was not read");
        return;
    }
    const auto path = files.bank.exportFolder / fw::PathFromUtf8(file->name);
    const auto stored = RecordBytes(files.bank.document.Image(), record);
    std::vector<uint8_t>& bytes = tally.fileBytes;
    ReadFileOfLength(path, *file->length, bytes);
    // The BMP export writes the stored bytes as they are: a file that still
    // holds them is unchanged, with no picture decoded, even where the
    // stored bitmap is too damaged for the import rule to take it.
    if (IsStoredFormat(*file->format) && std::equal(bytes.begin(), bytes.end(), stored.begin(), stored.end())) {
        ++tally.unchanged;
        return;
    }
    // The rule's refusal names the file itself.
    auto imported = ImportIntoBitmap(stored, bytes, *file->format, files.prefix + file->name);
    if (!imported) return tally.refused.push_back(imported.why());
    if (std::equal(imported->bytes.begin(), imported->bytes.end(), stored.begin(), stored.end())) {
        ++tally.unchanged;
        return;
    }
    PendingImport item{record, path, files.prefix + file->name, {}, {}, nullptr, std::move(imported->bytes)};
    const auto [first, last] = files.copies.equal_range(record.nOffset);
    for (auto copy = first; copy != last; ++copy) item.copies.push_back(copy->second);
    tally.pending.push_back(std::move(item));
}

// What exporting the model now writes as its file in the format, made in
// memory.
fw::Expected<std::vector<uint8_t>> ExportedNow(const CommandContext& item, const ModelJobTarget& target,
                                               const LatestFile<ModelFormat>& file) {
    const auto model = ModelToExport(item, target);
    if (!model) return model.refusal();
    return file.format->bytes(*model, target.path);
}

void CompareModel(const BankFiles& files, size_t child, ImportTally& tally) {
    const CommandContext item = ChildContext(files.bank, child);
    const auto file = FileWrittenLast(files, item.modelStem, ModelFormats());
    if (!file || !file->length) {
        ++tally.unchanged;
        return;
    }
    const auto path = item.exportFolder / fw::PathFromUtf8(file->name);
    const std::string name = files.prefix + file->name;
    if (*file->length > kMaxModelFileBytes) {
        tally.refused.push_back(name + ": the file is larger than any model file (32 MiB); it was not read");
        return;
    }
    const auto target = PrepareModelJob(item, "no bitmap follows the model in its bank", kCaption, FileUse::read,
                                        file->format->extension);
    const auto exported =
        target ? ExportedNow(item, *target, *file) : fw::Expected<std::vector<uint8_t>>(target.refusal());
    if (!exported) {
        tally.refused.push_back(name + ": " + exported.why());
    } else if (FileHoldsBytes(path, *exported)) {
        ++tally.unchanged;
    } else {
        tally.pending.push_back({target->record, target->path, name, {}, target->textures, file->format, {}});
    }
}

// A file that cannot be read, or that needs more memory than there is,
// refuses its item alone.
template <typename Body>
void Guarded(const std::string& name, ImportTally& tally, Body&& body) {
    try {
        body();
    } catch (const fw::FileException& error) {
        tally.refused.push_back(name + ": " + error.Message());
    } catch (const std::bad_alloc&) {
        tally.refused.push_back(name + ": there was not enough memory to read it");
    }
}

bool CompareBank(BankFiles& files, ImportTally& tally, BatchSteps& steps) {
    std::vector<fw::os::FolderEntry> entries;
    if (fw::os::LookInFolder(files.bank.exportFolder, entries)) files.entries = std::move(entries);
    const auto& children = files.bank.children;
    for (size_t child = 0; child < children.size(); ++child) {
        const ItemRecord& record = children[child];
        Guarded(files.prefix + record.szLabel, tally, [&] {
            if (record.nKind == ITEM_BITMAP) CompareBitmap(files, record, tally);
            if (record.nKind == ITEM_MODEL) CompareModel(files, child, tally);
        });
        if (!steps.Next()) return false;
    }
    return true;
}

// Reads one item's file in; the refusal in words, empty when it was read.
std::string ImportItem(CPallixDoc& document, const PendingImport& item) {
    if (item.record.nKind == ITEM_BITMAP) {
        const auto replaced = ReplaceBitmap(document, item.record, item.copies, item.bytes);
        return replaced ? std::string() : replaced.why();
    }
    const auto result = ImportModelFromFile(*item.format, item.file, ModelBytes(document, item.record),
                                            item.record.nSize, item.textures);
    return result.outcome == fw::CommandResult::Outcome::done ? std::string() : result.message;
}

// False, with every byte put back, when the user cancels.
bool ImportPending(CPallixDoc& document, ImportTally& tally, BatchSteps& steps) {
    ImageBackup backup(document);
    for (const PendingImport& item : tally.pending) {
        backup.Keep(item.record.nOffset, item.record.nSize);
        for (const uint32_t copy : item.copies) backup.Keep(copy, item.record.nSize);
        Guarded(item.name, tally, [&] {
            const std::string refusal = ImportItem(document, item);
            if (refusal.empty())
                ++tally.imported;
            else
                tally.refused.push_back(item.name + ": " + refusal);
        });
        if (!steps.Next()) {
            backup.PutBack();
            return false;
        }
    }
    if (tally.imported) document.SetModifiedFlag(true);
    return true;
}

std::string Summary(const ImportTally& tally, const std::filesystem::path& folder) {
    std::string text = "Imported: " + std::to_string(tally.imported) +
                       "\nUnchanged: " + std::to_string(tally.unchanged) +
                       "\nRefused: " + std::to_string(tally.refused.size());
    for (size_t k = 0; k < std::min(tally.refused.size(), kRefusalsListed); ++k) text += "\n  " + tally.refused[k];
    if (tally.refused.size() > kRefusalsListed)
        text += "\n  and " + std::to_string(tally.refused.size() - kRefusalsListed) + " more";
    return text + "\nfrom " + fw::Utf8FromPath(folder);
}

}  // namespace

fw::CommandResult ImportAll(const CommandContext& context) {
    fw::WaitCursor wait(context.ui);
    CopyIndex copies;
    for (const ItemRecord& repeat : context.repeats) copies.emplace(repeat.nCopyOf, repeat.nOffset);
    std::vector<BankFiles> banks;
    const auto ownFolders = context.record ? std::vector<CommandContext>() : BanksInOwnFolders(context);
    if (context.record) banks.push_back({context, copies, {}, {}});
    for (const CommandContext& bank : ownFolders)
        banks.push_back({bank, copies, fw::Utf8FromPath(bank.exportFolder.filename()) + "/", {}});
    size_t items = 0;
    for (const BankFiles& bank : banks) items += bank.bank.children.size();

    // Comparing and importing are a step each.
    BatchSteps steps(context.ui, kCaption, 2 * items);
    ImportTally tally;
    const auto cancelled = fw::CommandResult::Refused("Import All was cancelled. Nothing was changed.", kCaption);
    for (BankFiles& bank : banks)
        if (!CompareBank(bank, tally, steps)) return cancelled;
    if (!ImportPending(context.document, tally, steps)) return cancelled;
    // Refused as a whole when any file was: what was read in stays, but a
    // batch must see that not everything was.
    if (!tally.refused.empty()) return fw::CommandResult::Refused(Summary(tally, context.exportFolder), kCaption);
    return fw::CommandResult::Done(Summary(tally, context.exportFolder), kCaption);
}
