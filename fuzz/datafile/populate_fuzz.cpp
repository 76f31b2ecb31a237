// Arbitrary bytes as a data file: the tree is built over them and every
// listing is made, which reads every record the scan found.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>

#include "listing.h"
#include "pallixdoc.h"
#include "pallixview.h"

namespace {

class SilentUi : public fw::UiServices {
public:
    fw::MessageResult ShowMessage(const std::string&, const std::string&, fw::MessageStyle) override { return {}; }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void ShellOpen(const std::filesystem::path&) override {}
    void StartProgram(const std::filesystem::path&, const std::string&, const std::filesystem::path&) override {}
    int TrackPopupMenu(const fw::PopupMenu&, fw::Point, const fw::CommandTarget&) override { return 0; }
    std::optional<std::filesystem::path> AskSavePath(const std::filesystem::path&) override { return {}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilentUi ui;
    CPallixDoc doc(ui);
    // An exact-size block, so that any read past the image is caught.
    doc.m_pImage = pallix::ImageMemory(new uint8_t[size ? size : 1], pallix::ImageMemoryDeleter{0});
    if (size) std::memcpy(doc.m_pImage.get(), data, size);
    doc.m_nImageSize = static_cast<uint32_t>(size);
    CPallixView view(doc, ui, [] { return std::filesystem::path("/prog/pallix"); });
    view.OnInitialUpdate();
    std::ostringstream sink;
    PrintRecords(sink, view.GetTreeCtrl());
    PrintStats(sink, view.GetTreeCtrl());
    return 0;
}
