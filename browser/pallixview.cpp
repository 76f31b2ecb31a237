#include "browser/pallixview.h"

#include <cstdio>
#include <optional>

#include "browser/icons.h"
#include "browser/seenbitmaptable.h"
#include "datafile/bankscan.h"
#include "framework/apptext.h"

namespace {

constexpr uint32_t kBankSize = 999999;

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

}  // namespace

// Turns the banks, models and bitmaps the scan reports into tree items.
class TreeBuilder : public pallix::BankVisitor {
public:
    TreeBuilder(CPallixView& view, fw::TreeItem* root)
        : view_(view), tree_(view.GetTreeCtrl()), root_(root), seen_(view.GetDocument().Image()) {}

    void OnBank(const pallix::BankEntry& bank) override {
        bankNumber_ = bank.number;
        bankItem_ = view_.InsertRecordItem(
            Format("CM3D %d: %d Objects  %d Bitmaps", int(bank.number), int(bank.objectCount), int(bank.bitmapCount)),
            ICON_BANK_CLOSED, root_, ItemRecord{{}, ITEM_BANK, bank.offset, kBankSize, 0});
    }

    void OnModel(const pallix::ModelEntry& model) override {
        fw::TreeItem* item = view_.InsertRecordItem(model.name, ICON_MODEL_CLOSED, bankItem_,
                                                    ItemRecord{{}, ITEM_MODEL, model.offset, model.recordSize, 0});
        void* record = item->data;
        tree_.InsertItem(Format("Vertices:    %d ", int(model.vertexCount)), ICON_MODEL_OPEN, ICON_MODEL_OPEN, item,
                         record);
        tree_.InsertItem(Format("Triangles:  %d", int(model.triangleCount)), ICON_MODEL_OPEN, ICON_MODEL_OPEN, item,
                         record);
    }

    void OnBitmap(const pallix::BitmapEntry& bitmap) override {
        const std::optional<size_t> first = seen_.Record(bitmap.dataOffset, bitmap.length, bankNumber_);
        const std::string suffix = first ? Format(" (Copy of %s)", seen_[*first].name.c_str()) : std::string();
        const uint32_t copyOf = first ? seen_[*first].offset : 0;
        fw::TreeItem* item =
            view_.InsertRecordItem(Format("%d:%s%s", int(bitmap.index), bitmap.name.c_str(), suffix.c_str()),
                                   first ? ICON_COPY_BMP_CLOSED : ICON_BMP_CLOSED, bankItem_,
                                   ItemRecord{{}, ITEM_BITMAP, bitmap.dataOffset, bitmap.length, copyOf});
        void* record = item->data;
        tree_.InsertItem(Format("Size:    %d bytes", int(bitmap.length)), ICON_BMP_OPEN, ICON_BMP_OPEN, item, record);
        tree_.InsertItem(Format("Offset:  %.6Xx0", unsigned(bitmap.dataOffset)), ICON_BMP_OPEN, ICON_BMP_OPEN, item,
                         record);
    }

    void OnBankCut(const pallix::BankEntry& bank, uint64_t recordOffset) override {
        if (!cut_.empty()) return;
        cut_ = Format(
            "This file ends inside bank CM3D %d: its record at offset %llu runs past the end of the file "
            "(%llu bytes).\nThe bank shows only what lies before the end.",
            int(bank.number), static_cast<unsigned long long>(recordOffset),
            static_cast<unsigned long long>(view_.GetDocument().Image().size()));
    }

    // What the user is told about a file that was cut short; empty for a whole file.
    const std::string& CutNotice() const { return cut_; }

private:
    CPallixView& view_;
    fw::TreeControl& tree_;
    std::string cut_;
    fw::TreeItem* root_;
    fw::TreeItem* bankItem_ = nullptr;
    uint32_t bankNumber_ = 0;
    SeenBitmapTable seen_;
};

CPallixView::CPallixView(CPallixDoc& document, fw::UiServices& ui, ModulePathSource modulePath)
    : m_document(document), m_ui(ui), m_modulePathSource(std::move(modulePath)) {
    m_tree.SetExpandListener(this);
}

CPallixView::~CPallixView() {
    m_tree.SetExpandListener(nullptr);
    FreeItemRecords();
}

void CPallixView::OnInitialUpdate() {
    if (!m_bViewReady) {
        m_szModulePath = m_modulePathSource();
        m_bViewReady = true;
        m_pImageList = std::make_unique<fw::ImageList>();
        for (const char* resource : kTreeIconResources) m_pImageList->Add(resource);
    }
    PopulateTree();
}

void CPallixView::PopulateTree() {
    fw::WaitCursor wait(m_ui);
    FreeItemRecords();
    m_tree.DeleteAllItems();
    m_hContextItem = nullptr;
    fw::TreeItem* root = m_tree.InsertItem("Quon Data File", ICON_BFP_CLOSED, ICON_BFP_CLOSED, nullptr);
    TreeBuilder builder(*this, root);
    pallix::ScanBanks(m_document.Image(), builder);
    m_tree.Expand(root, fw::TreeControl::ExpandAction::expand);
    // Said once, here: every command on the cut bank would otherwise stumble
    // on the missing records in its own words.
    if (!builder.CutNotice().empty())
        m_ui.ShowMessage(builder.CutNotice(), fw::text::kAppName,
                         fw::MessageStyle{fw::MessageButtons::ok, fw::MessageIcon::exclamation, true});
}

fw::TreeItem* CPallixView::InsertRecordItem(const std::string& label, int image, fw::TreeItem* parent,
                                            ItemRecord record) {
    record.szLabel = label.substr(0, ItemRecord::kLabelLength);
    m_records.push_back(std::make_unique<ItemRecord>(std::move(record)));
    return m_tree.InsertItem(label, image, image, parent, m_records.back().get());
}

bool CPallixView::OnItemExpanding(fw::TreeItem* item) {
    const int image = item->image;
    const int next = m_tree.IsExpanded(item) ? image - 1 : image + 1;
    m_tree.SetItemImage(item, next, next);
    return true;
}

void CPallixView::FreeItemRecords() {
    // No item may keep pointing at a record that is gone.
    m_tree.ForEachItem([](fw::TreeItem* item) { item->data = nullptr; });
    m_records.clear();
}

ItemRecord* CPallixView::RecordOf(fw::TreeItem* item) { return item ? static_cast<ItemRecord*>(item->data) : nullptr; }
