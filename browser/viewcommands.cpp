// What the view's commands act on: each takes its context from the tree
// when it starts, and its row in the command table runs the body in the
// exchange layer on it.
#include "browser/commandtable.h"
#include "browser/pallixview.h"
#include "exchange/commands/commandcontext.h"
#include "exchange/commands/droppedfile.h"
#include "exchange/commands/modeljob.h"
#include "exchange/files/exportlocation.h"
#include "framework/commandids.h"

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
    CommandContext context{
        .document = m_document,
        .ui = m_ui,
        .exportFolder = ExportFolderInUse(),
        .programDir = m_szModulePath.parent_path(),
        .announcePaths = m_bAnnouncePaths,
        .ledger = &m_exportLedger,
    };
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

fw::CommandResult CPallixView::RunOnContextItem(int commandId) {
    const CommandRow* command = FindCommand(commandId);
    return command && command->run ? command->run(ContextFor(m_hContextItem)) : fw::CommandResult::Done();
}

void CPallixView::OnDropFile(fw::TreeItem* item, const std::filesystem::path& file) {
    m_lastResult = ImportDroppedFile(ContextFor(item), file);
    fw::ShowResult(m_ui, m_lastResult);
}

fw::CommandResult CPallixView::OnViewBitmap() { return RunOnContextItem(cmd::kBitmapView); }
fw::CommandResult CPallixView::OnExportBitmap() { return RunOnContextItem(cmd::kBitmapExport); }
fw::CommandResult CPallixView::OnImportBitmap() { return RunOnContextItem(cmd::kBitmapImport); }
fw::CommandResult CPallixView::OnViewModel() { return RunOnContextItem(cmd::kModelView); }
fw::CommandResult CPallixView::OnExportModel() { return RunOnContextItem(cmd::kModelExport); }
fw::CommandResult CPallixView::OnImportModel() { return RunOnContextItem(cmd::kModelImport); }
fw::CommandResult CPallixView::OnExportAll() { return RunOnContextItem(cmd::kBankExportAll); }

std::filesystem::path CPallixView::ExportFolderInUse() const {
    return ::ChooseExportFolder(m_szModulePath, m_document.GetPathName(), m_chosenExportFolder);
}
