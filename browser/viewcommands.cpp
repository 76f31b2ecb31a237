// The view's commands: each takes what it acts on from the tree when it
// starts and hands it to the exchange layer, where the bodies live. This is
// the one file of the view that knows the exchange layer.
#include "browser/pallixview.h"
#include "exchange/commands/bitmapcommands.h"
#include "exchange/commands/commandcontext.h"
#include "exchange/commands/exportbanks.h"
#include "exchange/commands/importall.h"
#include "exchange/commands/modelexport.h"
#include "exchange/commands/modelimport.h"
#include "exchange/commands/modeljob.h"
#include "exchange/commands/modelview.h"
#include "exchange/files/exportlocation.h"

CommandContext CPallixView::ContextFor(fw::TreeItem* item) const {
    CommandContext context = ItemContext(item);
    // Only the commands over many items and a model's import (its pictures
    // change its bank's bitmaps) need the file's copies, and only the root's
    // its banks; the banks go without, or a large file's would be copied once
    // per bank.
    if (item && (!context.record || context.record->nKind != ITEM_BITMAP)) {
        for (const auto& record : m_records)
            if (record->nCopyOf) context.repeats.push_back(*record);
    }
    if (item && !context.record) {
        for (fw::TreeItem* bank = m_tree.GetChildItem(item); bank; bank = m_tree.GetNextSiblingItem(bank))
            context.banks.push_back(ItemContext(bank));
    }
    return context;
}

CommandContext CPallixView::ItemContext(fw::TreeItem* item) const {
    CommandContext context{m_document,
                           m_ui,
                           std::nullopt,
                           {},
                           {},
                           {},
                           {},
                           ExportFolderInUse(),
                           m_szModulePath.parent_path(),
                           m_bAnnouncePaths,
                           {},
                           {}};
    if (!item) return context;
    if (const ItemRecord* record = RecordOf(item)) context.record = *record;
    // What follows a bank is other banks, which no command of a bank reads;
    // the root's context would hold them once per bank.
    const bool bank = context.record && context.record->nKind == ITEM_BANK;
    for (fw::TreeItem* next = bank ? nullptr : m_tree.GetNextSiblingItem(RecordOwner(item)); next;
         next = m_tree.GetNextSiblingItem(next))
        if (const ItemRecord* record = RecordOf(next)) context.following.push_back(*record);
    for (fw::TreeItem* child = m_tree.GetChildItem(item); child; child = m_tree.GetNextSiblingItem(child))
        if (const ItemRecord* record = RecordOf(child)) context.children.push_back(*record);
    if (context.record && context.record->nKind == ITEM_MODEL) context.modelStem = ModelStemAmongSiblings(item);
    if (context.record && context.record->nKind == ITEM_BITMAP) {
        for (const auto& record : m_records)
            if (record->nCopyOf == context.record->nOffset) context.copies.push_back(record->nOffset);
    }
    return context;
}

std::string CPallixView::ModelStemAmongSiblings(fw::TreeItem* item) const {
    fw::TreeItem* owner = RecordOwner(item);
    std::vector<ItemRecord> bankItems;
    size_t mine = 0;
    for (fw::TreeItem* sibling = m_tree.GetChildItem(m_tree.GetParentItem(owner)); sibling;
         sibling = m_tree.GetNextSiblingItem(sibling)) {
        if (sibling == owner) mine = bankItems.size();
        if (const ItemRecord* record = RecordOf(sibling)) bankItems.push_back(*record);
    }
    return ModelStemInBank(bankItems, mine);
}

fw::TreeItem* CPallixView::RecordOwner(fw::TreeItem* item) const {
    // The information leaves act for their parent, whose record they share.
    fw::TreeItem* parent = m_tree.GetParentItem(item);
    return parent && RecordOf(parent) == RecordOf(item) ? parent : item;
}

fw::CommandResult CPallixView::OnViewBitmap() { return ViewBitmap(ContextFor(m_hContextItem)); }
fw::CommandResult CPallixView::OnExportBitmap() { return ExportBitmap(ContextFor(m_hContextItem)); }
fw::CommandResult CPallixView::OnImportBitmap() { return ImportBitmap(ContextFor(m_hContextItem)); }
fw::CommandResult CPallixView::OnViewModel() { return ViewModel(ContextFor(m_hContextItem)); }
fw::CommandResult CPallixView::OnExportModel() { return ExportModel(ContextFor(m_hContextItem)); }
fw::CommandResult CPallixView::OnImportModel() { return ImportModel(ContextFor(m_hContextItem)); }
fw::CommandResult CPallixView::OnExportAll() { return ExportAll(ContextFor(m_hContextItem)); }
fw::CommandResult CPallixView::OnExportAllBanks() { return ExportAllBanks(ContextFor(m_hContextItem)); }
fw::CommandResult CPallixView::OnImportAll() { return ImportAll(ContextFor(m_hContextItem)); }

namespace {

// The row of a format table (models or bitmaps) the user picks by its
// label; none when the question is cancelled.
template <typename Row>
const Row* AskFormat(fw::UiServices& ui, const std::string& caption, std::span<const Row> formats) {
    std::vector<std::string> labels;
    for (const Row& format : formats) labels.push_back(format.label);
    const auto choice = ui.AskChoice(caption, "Which format?", labels);
    if (!choice || *choice >= labels.size()) return nullptr;
    return &formats[*choice];
}

// The format is asked for first, so the command acts on the tree as it is
// once the question is answered.
template <typename Command>
fw::CommandResult InFormatAsked(CPallixView& view, const std::string& caption, Command&& command) {
    const auto* format = AskFormat(view.Ui(), caption, ModelFormats());
    return format ? command(*format) : fw::CommandResult::Done();
}

template <typename Command>
fw::CommandResult InBitmapFormatAsked(CPallixView& view, const std::string& caption, Command&& command) {
    const auto* format = AskFormat(view.Ui(), caption, BitmapFormats());
    return format ? command(*format) : fw::CommandResult::Done();
}

}  // namespace

fw::CommandResult CPallixView::OnExportModelAs() {
    return InFormatAsked(*this, "Export Model As",
                         [this](const ModelFormat& format) { return ExportModelAs(ContextFor(m_hContextItem), format); });
}

fw::CommandResult CPallixView::OnImportModelFrom() {
    return InFormatAsked(*this, "Import Model From",
                         [this](const ModelFormat& format) { return ImportModelFrom(ContextFor(m_hContextItem), format); });
}

fw::CommandResult CPallixView::OnExportBitmapAs() {
    return InBitmapFormatAsked(*this, "Export Bitmap As", [this](const BitmapFormat& format) {
        return ExportBitmapAs(ContextFor(m_hContextItem), format);
    });
}

fw::CommandResult CPallixView::OnImportBitmapFrom() {
    return InBitmapFormatAsked(*this, "Import Bitmap From", [this](const BitmapFormat& format) {
        return ImportBitmapFrom(ContextFor(m_hContextItem), format);
    });
}

fw::CommandResult CPallixView::OnExportAllAs() {
    return InFormatAsked(*this, "Export All As",
                         [this](const ModelFormat& format) {
                             const CommandContext context = ContextFor(m_hContextItem);
                             return context.record ? ExportAllAs(context, format) : ExportAllBanksAs(context, format);
                         });
}

std::filesystem::path CPallixView::ExportFolderInUse() const {
    return ::ChooseExportFolder(m_szModulePath, m_document.GetPathName(), m_chosenExportFolder);
}
