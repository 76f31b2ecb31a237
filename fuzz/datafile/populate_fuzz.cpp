// Arbitrary bytes as a data file: the tree is built over them and every
// listing is made, which reads every record the scan found.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>

#include "browser/pallixview.h"
#include "cli/consoleui.h"
#include "cli/listing.h"
#include "datafile/pallixdoc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::ostringstream discarded;
    ConsoleUi ui(discarded, false);
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
