#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "datafile/itemrecord.h"
#include "datafile/pallixdoc.h"
#include "exchange/files/exportledger.h"
#include "framework/commandresult.h"
#include "framework/doctemplate.h"
#include "framework/file.h"
#include "framework/imagelist.h"
#include "framework/menu.h"
#include "framework/treecontrol.h"
#include "framework/uiservices.h"

struct CommandContext;

// The program's only view: the tree of the records of the open data file.
// Every command acts on the item last right-clicked and reaches the data
// only through that item's record.
class CPallixView : public fw::View, public fw::TreeExpandListener, public fw::CommandTarget {
public:
    using ModulePathSource = std::function<std::filesystem::path()>;

    CPallixView(CPallixDoc& document, fw::UiServices& ui, ModulePathSource modulePath);
    ~CPallixView() override;
    CPallixView(const CPallixView&) = delete;
    CPallixView& operator=(const CPallixView&) = delete;

    void OnInitialUpdate() override;
    void PopulateTree();
    bool OnItemExpanding(fw::TreeItem* item) override;
    void FreeItemRecords();

    // Mouse and keyboard of the tree. Points of button presses are in client
    // coordinates, the point of a context-menu request in screen coordinates.
    void OnLButtonDown(fw::Point client);
    void OnRButtonDown(fw::Point client);
    // False when the point is on no item: the request goes to the default handling.
    bool OnContextMenu(fw::Point screen);
    // A key reported by the tree (virtual key code); always answers 0.
    int OnKeyDown(int virtualKey);
    // The popup of the caret item, which becomes the context item as with a
    // right click; false when the caret is on no item shown.
    bool OnKeyboardContextMenu();
    void ShowItemMenu(int menuId, fw::Point screen);
    // What a right-button press on the item does: drop-highlight it and make
    // it the item the commands act on.
    void SetContextItem(fw::TreeItem* item);
    fw::TreeItem* ContextItem() const { return m_hContextItem; }
    // The popup menu resource a right click on the item shows; 0 for none.
    int PopupMenuFor(fw::TreeItem* item) const;
    fw::TreeItem* NextItemInTreeOrder(fw::TreeItem* item) const;

    // Command routing: the commands of the command table, each shown to the
    // user as it ends.
    bool HasHandler(int commandId) const override;
    bool OnCommand(int commandId) override;
    // A file dropped on the item: imported into it when it is a picture
    // dropped on a bitmap or a model file on a model, else refused in words;
    // shown to the user as it ends, as a command is.
    void OnDropFile(fw::TreeItem* item, const std::filesystem::path& file);
    // How the last command run through OnCommand or OnDropFile ended.
    const fw::CommandResult& LastResult() const { return m_lastResult; }
    // What the exports of this view wrote; the programs keep it across runs.
    ExportLedger& Exports() { return m_exportLedger; }

    // The command table's row of the id, run on the context item's context,
    // without telling the user how it ended.
    fw::CommandResult RunOnContextItem(int commandId);
    // The long-standing command members; each runs its row.
    fw::CommandResult OnViewBitmap();
    fw::CommandResult OnExportBitmap();
    fw::CommandResult OnImportBitmap();
    fw::CommandResult OnViewModel();
    fw::CommandResult OnExportModel();
    fw::CommandResult OnImportModel();
    fw::CommandResult OnExportAll();

    // Whether the commands show the path of each file before using it.
    void SetAnnouncePaths(bool announce) { m_bAnnouncePaths = announce; }
    // The folder the user chose for exports (empty: the program chooses),
    // and the folder the commands use now.
    void SetExportFolder(std::filesystem::path folder) { m_chosenExportFolder = std::move(folder); }
    std::filesystem::path ExportFolderInUse() const;
    bool IsViewReady() const { return m_bViewReady; }
    const std::filesystem::path& ModulePath() const { return m_szModulePath; }

    fw::TreeControl& GetTreeCtrl() { return m_tree; }
    const fw::TreeControl& GetTreeCtrl() const { return m_tree; }
    fw::UiServices& Ui() const { return m_ui; }
    const fw::ImageList* ImageList() const { return m_pImageList.get(); }
    CPallixDoc& GetDocument() const { return m_document; }
    // The record attached to an item; null for the root and for none.
    static ItemRecord* RecordOf(fw::TreeItem* item);

private:
    // The item that owns an item's record: a leaf's parent, or the item itself.
    fw::TreeItem* RecordOwner(fw::TreeItem* item) const;
    // What a command on the item acts on, taken by value when it starts.
    CommandContext ContextFor(fw::TreeItem* item) const;
    // The same without the file's copies and banks.
    CommandContext ItemContext(fw::TreeItem* item) const;
    // A model's file stem, its own among the models beside it.
    std::string ModelStemAmongSiblings(fw::TreeItem* item) const;
    fw::TreeItem* InsertRecordItem(const std::string& label, int image, fw::TreeItem* parent, ItemRecord record);

    CPallixDoc& m_document;
    fw::UiServices& m_ui;
    ModulePathSource m_modulePathSource;
    fw::TreeControl m_tree;
    std::vector<std::unique_ptr<ItemRecord>> m_records;
    std::unique_ptr<fw::ImageList> m_pImageList;
    bool m_bViewReady = false;
    fw::TreeItem* m_hContextItem = nullptr;
    bool m_bAnnouncePaths = true;
    std::filesystem::path m_szModulePath;
    std::filesystem::path m_chosenExportFolder;
    // Whether the previous key the tree reported was Shift.
    bool m_bShiftDown = false;
    fw::CommandResult m_lastResult;
    // Handed to every command in its context, which the const lookups make.
    mutable ExportLedger m_exportLedger;

    friend class TreeBuilder;
};
