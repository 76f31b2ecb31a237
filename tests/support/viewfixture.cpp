#include "tests/support/viewfixture.h"

ViewFixture::ViewFixture() {
    std::filesystem::create_directories(ExportDir());
    template_.OnFileNew();
}

bool ViewFixture::Open(const std::vector<uint8_t>& image, const std::string& name) {
    WriteFileBytes(dir_ / name, image);
    return template_.OpenDocumentFile((dir_ / name).string());
}

fw::TreeItem* ViewFixture::Item(std::initializer_list<int> rows) const {
    fw::TreeItem* item = const_cast<CPallixView&>(view_).GetTreeCtrl().GetRootItem();
    for (int row : rows) {
        if (!item || row >= int(item->children.size())) return nullptr;
        item = item->children[size_t(row)].get();
    }
    return item;
}

std::vector<uint8_t> ViewFixture::Image() const {
    const auto image = doc_.Image();
    return std::vector<uint8_t>(image.begin(), image.end());
}

void ViewFixture::RunCommand(std::initializer_list<int> rows, int command) {
    view_.SetContextItem(Item(rows));
    view_.OnCommand(command);
}

void ViewFixture::BlockExportDir() {
    std::filesystem::remove_all(dir_ / "bfp");
    WriteFileBytes(dir_ / "bfp", {});
    view_.SetExportFolder(ExportDir());
}

void ViewFixture::UnblockExportDir() {
    std::filesystem::remove(dir_ / "bfp");
    std::filesystem::create_directories(ExportDir());
}
