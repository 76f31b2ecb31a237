#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "browser/pallixview.h"
#include "datafile/pallixdoc.h"
#include "framework/doctemplate.h"
#include "tests/support/recordingui.h"
#include "tests/support/testfiles.h"

// A document, its view and template, as the programs wire them, over a data
// file written into a temporary program folder that has its export folder.
class ViewFixture : public ::testing::Test {
protected:
    ViewFixture();

    // Writes the image as data.bfp and opens it.
    bool Open(const std::vector<uint8_t>& image, const std::string& name = "data.bfp");
    std::filesystem::path ExportDir() const { return dir_.path() / "bfp" / "data"; }
    // Makes writes into the export folder fail: a file stands where its
    // parent folder would be. Unblock puts the folder back.
    void BlockExportDir();
    void UnblockExportDir();
    // The item at child indexes from the root.
    fw::TreeItem* Item(std::initializer_list<int> rows) const;
    const ItemRecord& Record(std::initializer_list<int> rows) const { return *CPallixView::RecordOf(Item(rows)); }
    std::vector<uint8_t> Image() const;
    // Runs a command on an item as a right click and the popup would.
    void RunCommand(std::initializer_list<int> rows, int command);

    TempDir dir_;
    RecordingUi ui_;
    CPallixDoc doc_{ui_};
    CPallixView view_{doc_, ui_, [this] { return dir_.path() / "pallix"; }};
    fw::SingleDocTemplate template_{doc_, view_, ui_};
};
