#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "doctemplate.h"
#include "file.h"
#include "imagelist.h"
#include "itemrecord.h"
#include "menu.h"
#include "meshdatabase.h"
#include "modeljob.h"
#include "pallixdoc.h"
#include "treecontrol.h"
#include "uiservices.h"

// The program's only view: the tree of the records of the open data file.
// Every command acts on the item last right-clicked and reaches the data
// only through that item's record.
class CPallixView : public fw::View, public fw::TreeExpandListener, public fw::CommandTarget {
public:
    static constexpr const char* kInvalidModel = "Invalid model. Cannot export";
    static constexpr const char* kInvalidModelCaption = "Pallix";

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
    // The popup menu resource a right click on the item shows; 0 for none.
    int PopupMenuFor(fw::TreeItem* item) const;
    fw::TreeItem* NextItemInTreeOrder(fw::TreeItem* item) const;

    // Command routing: the popup menus' commands that have a handler here.
    bool HasHandler(int commandId) const override;
    bool OnCommand(int commandId) override;

    // The record of m_hContextItem; null, after telling the user, when it has none.
    ItemRecord* ContextRecord();

    // Writes the DXF drawing of the model, or tells the user it is invalid.
    void WriteDxf(fw::File& file, std::span<const uint8_t> model, uint32_t offset, uint32_t size);

    // The model export and import, and the toolkit jobs under them.
    void ExportModelToFile(const std::filesystem::path& path, std::span<const uint8_t> model, uint32_t offset,
                           uint32_t size, const TextureNames& textures);
    bool WriteModel3dsFile(const std::filesystem::path& path, const std::vector<ExchangePoint>& points,
                           const std::vector<ExchangeFace>& faces, const TextureNames& textures);
    void ImportModelFromFile(const std::filesystem::path& path, std::span<uint8_t> model, uint32_t offset,
                             uint32_t size, const TextureNames& textures);
    // Nothing when the file was refused or the job failed.
    std::optional<FetchedMesh> ReadModel3dsFile(const std::filesystem::path& path, std::vector<ExchangePoint>& points,
                                                std::vector<ExchangeFace>& faces);
    // Whether a 3DS job of the last command failed.
    bool LastJobFailed() const { return m_bJobFailed; }

    void OnViewBitmap();
    void OnExportBitmap();
    void OnImportBitmap();
    void OnViewModel();
    void OnExportModel();
    void OnImportModel();
    void OnExportAll();

    fw::TreeControl& GetTreeCtrl() { return m_tree; }
    const fw::TreeControl& GetTreeCtrl() const { return m_tree; }
    fw::UiServices& Ui() const { return m_ui; }
    const fw::ImageList* ImageList() const { return m_pImageList.get(); }
    CPallixDoc& GetDocument() const { return m_document; }
    // The record attached to an item; null for the root and for none.
    static ItemRecord* RecordOf(fw::TreeItem* item);

    std::unique_ptr<fw::ImageList> m_pImageList;
    bool m_bViewReady = false;
    fw::TreeItem* m_hContextItem = nullptr;
    bool m_bAnnouncePaths = true;
    std::string m_szDataPath;
    std::filesystem::path m_szModulePath;
    // Whether the previous key the tree reported was Shift.
    bool m_bShiftDown = false;
    bool m_bJobFailed = false;

private:
    // The item that owns an item's record: a leaf's parent, or the item itself.
    fw::TreeItem* RecordOwner(fw::TreeItem* item) const;
    // Steps common to a model's export and import: the record, the bank's
    // textures and the model's file, announced under the caption while paths
    // are announced; nothing after telling the user why not.
    std::optional<ModelJobTarget> PrepareModelJob(const char* noSiblingMessage, const char* announceCaption);
    std::span<uint8_t> ModelBytes(const ItemRecord& record);
    // The bitmap's file in the export folder.
    std::filesystem::path BitmapPath(const ItemRecord& record) const;
    fw::TreeItem* InsertRecordItem(const std::string& label, int image, fw::TreeItem* parent, ItemRecord record);

    CPallixDoc& m_document;
    fw::UiServices& m_ui;
    ModulePathSource m_modulePathSource;
    fw::TreeControl m_tree;
    std::vector<std::unique_ptr<ItemRecord>> m_records;

    friend class TreeBuilder;
};
