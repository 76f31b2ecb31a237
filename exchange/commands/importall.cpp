// Import All of a bank or of the whole file: what the user changed in the
// export folder comes back in, the rest stays as it is. Every file is
// compared before anything is imported, so that a bitmap read in never
// changes what its copies are compared against.
#include "exchange/commands/importall.h"

#include <algorithm>
#include <map>
#include <optional>

#include "datafile/littleendian.h"
#include "exchange/bitmap/bitmapimport.h"
#include "exchange/bitmap/replacebitmap.h"
#include "exchange/commands/batchsteps.h"
#include "exchange/commands/exportbanks.h"
#include "exchange/commands/imagebackup.h"
#include "exchange/commands/modelexport.h"
#include "exchange/commands/modelformatcommands.h"
#include "exchange/commands/modelimport.h"
#include "exchange/commands/modeljob.h"
#include "exchange/files/exportpaths.h"
#include "framework/pathtext.h"
#include "framework/privatetemp.h"

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
    // The record's new bytes where the comparison made them already (a
    // bitmap, a model from a format other than 3DS); empty for a 3DS file,
    // which is read in at import.
    std::vector<uint8_t> bytes;
};

struct ImportTally {
    std::vector<PendingImport> pending;
    size_t imported = 0;
    size_t unchanged = 0;
    std::vector<std::string> refused;  // "name: reason"
};

// Where the bitmaps lie that repeat each bitmap, by the repeated one's offset.
using CopyIndex = std::multimap<uint32_t, uint32_t>;

// What one bank is compared with.
struct BankFiles {
    const CommandContext& bank;
    const CopyIndex& copies;
    std::string prefix;  // the bank's folder in names, for the root's summary
};

bool IsFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// The bytes of a file; none when there is no file of that name.
std::optional<std::vector<uint8_t>> FileBytes(const std::filesystem::path& path) {
    if (!IsFile(path)) return std::nullopt;
    fw::File file(path, fw::File::Mode::read);
    std::vector<uint8_t> bytes(file.Length());
    bytes.resize(file.Read(bytes.data(), bytes.size()));
    return bytes;
}

// Two files of one item that would change it each in its own way: the user
// must say which, by keeping one.
std::string BothChanged(const std::string& first, const std::string& second) {
    return "it was changed both in " + first + " and in " + second + "; keep one of them and import again";
}

// A bitmap's file in each bitmap format ("O68C.bmp", "O68C.png"), taken by
// the one bitmap import rule; the item is pending when one of them changes it.
void CompareBitmap(const BankFiles& files, const ItemRecord& record, ImportTally& tally) {
    const std::string stem = fw::Utf8FromPath(fw::PathFromUtf8(BitmapFileName(record.nOffset)).stem());
    const auto image = files.bank.document.Image();
    const bool inImage = record.nOffset <= image.size() && record.nSize <= image.size() - record.nOffset;
    const auto stored = inImage ? image.subspan(record.nOffset, record.nSize) : std::span<uint8_t>();
    std::optional<PendingImport> change;
    for (const BitmapFormat& format : BitmapFormats()) {
        const std::string fileName = stem + format.extension;
        const auto path = files.bank.exportFolder / fw::PathFromUtf8(fileName);
        const auto bytes = FileBytes(path);
        if (!bytes || std::equal(bytes->begin(), bytes->end(), stored.begin(), stored.end())) continue;
        // The rule's refusal names the file itself.
        auto imported = ImportIntoBitmap(stored, *bytes, format, files.prefix + fileName);
        if (!imported) return tally.refused.push_back(imported.why());
        if (std::equal(imported->bytes.begin(), imported->bytes.end(), stored.begin(), stored.end())) continue;
        if (change && change->bytes != imported->bytes)
            return tally.refused.push_back(files.prefix + stem + ": " + BothChanged(change->file.filename().string(), fileName));
        change = PendingImport{record, path, files.prefix + fileName, {}, {}, std::move(imported->bytes)};
    }
    if (!change) {
        ++tally.unchanged;
        return;
    }
    const auto [first, last] = files.copies.equal_range(record.nOffset);
    for (auto copy = first; copy != last; ++copy) change->copies.push_back(copy->second);
    tally.pending.push_back(std::move(*change));
}

// What exporting the model now writes, beside the model's own file.
std::optional<std::vector<uint8_t>> ExportedNow(const CommandContext& item, const ModelJobTarget& target,
                                                std::string& refusal) {
    const auto temporary = fw::PrivateTemporaryFile("import-all.3ds");
    const auto result =
        ExportModelToFile(temporary, ModelBytes(item.document, target.record), target.record.szLabel, target.textures);
    std::optional<std::vector<uint8_t>> bytes;
    if (result.outcome == fw::CommandResult::Outcome::done) bytes = FileBytes(temporary);
    refusal = result.message;
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return bytes;
}

// The 3DS file against what exporting the model now writes.
std::optional<PendingImport> Compare3ds(const BankFiles& files, const CommandContext& item,
                                        const ModelJobTarget& target, const std::string& fileName,
                                        ImportTally& tally) {
    const auto bytes = FileBytes(target.path);
    if (!bytes) return std::nullopt;
    std::string refusal;
    const auto exported = ExportedNow(item, target, refusal);
    if (!exported) tally.refused.push_back(files.prefix + fileName + ": " + refusal);
    if (!exported || *exported == *bytes) return std::nullopt;
    return PendingImport{target.record, target.path, files.prefix + fileName, {}, target.textures, {}};
}

// A file of the other formats against the model: what reading it in would
// make of a copy of the record. An editor writes numbers its own way, so
// only what the model keeps of them counts.
std::optional<PendingImport> CompareByReading(const BankFiles& files, const ModelJobTarget& target,
                                              ModelFormat format, const std::string& fileName, ImportTally& tally) {
    if (!IsFile(target.path)) return std::nullopt;
    const auto image = files.bank.document.Image();
    if (!pallix::FitsIn(image, target.record.nOffset, target.record.nSize)) {
        tally.refused.push_back(files.prefix + fileName + ": " + kInvalidModel);
        return std::nullopt;
    }
    const auto stored = image.subspan(target.record.nOffset, target.record.nSize);
    std::vector<uint8_t> model(stored.begin(), stored.end());
    const auto result = ImportModelFromFile(target.path, model, target.record.nSize, target.textures, ReaderOf(format));
    if (result.outcome != fw::CommandResult::Outcome::done)
        tally.refused.push_back(files.prefix + fileName + ": " + result.message);
    if (result.outcome != fw::CommandResult::Outcome::done || std::equal(model.begin(), model.end(), stored.begin()))
        return std::nullopt;
    return PendingImport{target.record, target.path, files.prefix + fileName, {}, target.textures, std::move(model)};
}

// The model's file in each model format; the model is pending when one of
// them changes it.
void CompareModel(const BankFiles& files, size_t child, ImportTally& tally) {
    const CommandContext item = ChildContext(files.bank, child);
    std::optional<PendingImport> change;
    const size_t refusedBefore = tally.refused.size();
    for (const ModelFormatInfo& format : ModelFormats()) {
        const std::string fileName = item.modelStem + format.extension;
        if (!IsFile(item.exportFolder / fw::PathFromUtf8(fileName))) continue;
        fw::CommandResult noBitmap;
        const auto target = PrepareModelJob(item, "no bitmap follows the model in its bank", kCaption, noBitmap,
                                            format.extension);
        if (!target) return tally.refused.push_back(files.prefix + fileName + ": " + noBitmap.message);
        auto found = format.format == ModelFormat::threeDs ? Compare3ds(files, item, *target, fileName, tally)
                                                           : CompareByReading(files, *target, format.format, fileName, tally);
        if (!found) continue;
        if (change)
            return tally.refused.push_back(files.prefix + item.modelStem + ": " +
                                           BothChanged(change->file.filename().string(), fileName));
        change = std::move(found);
    }
    // A file refused leaves the model as it is, whatever its other files say.
    if (tally.refused.size() != refusedBefore) return;
    if (change)
        tally.pending.push_back(std::move(*change));
    else
        ++tally.unchanged;
}

// A file that cannot be read refuses its item alone.
template <typename Body>
void Guarded(const std::string& name, ImportTally& tally, Body&& body) {
    try {
        body();
    } catch (const fw::FileException& error) {
        tally.refused.push_back(name + ": " + error.Message());
    }
}

bool CompareBank(const BankFiles& files, ImportTally& tally, BatchSteps& steps) {
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
    if (!item.bytes.empty()) {
        std::copy(item.bytes.begin(), item.bytes.end(), document.Image().begin() + item.record.nOffset);
        return {};
    }
    const auto result =
        ImportModelFromFile(item.file, ModelBytes(document, item.record), item.record.nSize, item.textures);
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
    if (context.record) banks.push_back({context, copies, {}});
    for (const CommandContext& bank : ownFolders)
        banks.push_back({bank, copies, fw::Utf8FromPath(bank.exportFolder.filename()) + "/"});
    size_t items = 0;
    for (const BankFiles& bank : banks) items += bank.bank.children.size();

    // Comparing and importing are a step each.
    BatchSteps steps(context.ui, kCaption, 2 * items);
    ImportTally tally;
    const auto cancelled = fw::CommandResult::Refused("Import All was cancelled. Nothing was changed.", kCaption);
    for (const BankFiles& bank : banks)
        if (!CompareBank(bank, tally, steps)) return cancelled;
    if (!ImportPending(context.document, tally, steps)) return cancelled;
    return fw::CommandResult::Done(Summary(tally, context.exportFolder), kCaption);
}
