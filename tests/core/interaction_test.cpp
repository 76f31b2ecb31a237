#include <gtest/gtest.h>

#include "browser/popupmenus.h"
#include "framework/commandids.h"
#include "framework/fixedtreegeometry.h"
#include "tests/support/viewfixture.h"
#include "tools/bfpbuilder.h"

namespace {

class Interaction : public ViewFixture {
protected:
    void SetUp() override {
        bfp::ImageWriter image;
        image.AddBank({{bfp::Cube("box", 5, 1), bfp::Pyramid("pyr", 5, 5, 1)}, {{"a", bfp::MakeBmp(4, 4, 24, 1)}}});
        image.Filler(1, 1);
        image.AddBank({{bfp::Cube("two", 5, 1)}, {}});
        ASSERT_TRUE(Open(image.bytes()));
    }

    // A point on the label of a visible item, in client coordinates.
    fw::Point OnLabel(fw::TreeItem* item) const {
        const auto rect = view_.GetTreeCtrl().Geometry().ItemTextRect(item);
        return {rect->left + 2, rect->top + 2};
    }
};

TEST_F(Interaction, PopupMenusAreChosenByTheItemsKind) {
    EXPECT_EQ(view_.PopupMenuFor(Item({})), IDR_POPUP_BFP);
    EXPECT_EQ(view_.PopupMenuFor(Item({0})), IDR_POPUP_CM3D);
    EXPECT_EQ(view_.PopupMenuFor(Item({0, 0})), IDR_POPUP_MODEL);
    EXPECT_EQ(view_.PopupMenuFor(Item({0, 0, 1})), IDR_POPUP_MODEL);
    EXPECT_EQ(view_.PopupMenuFor(Item({0, 2})), IDR_POPUP_BITMAP);
    EXPECT_EQ(view_.PopupMenuFor(Item({0, 2, 0})), IDR_POPUP_BITMAP);
}

TEST_F(Interaction, MenuEntriesWithoutAHandlerAreDisabled) {
    const auto& bfpMenu = PopupMenuResource(IDR_POPUP_BFP);
    EXPECT_EQ(bfpMenu.title, "BFP");
    EXPECT_FALSE(view_.HasHandler(0));
    EXPECT_TRUE(view_.HasHandler(cmd::kFileExportAll));
    EXPECT_TRUE(view_.HasHandler(cmd::kFileImportAll));
    EXPECT_TRUE(view_.HasHandler(cmd::kBankImportAll));
    EXPECT_TRUE(view_.HasHandler(cmd::kCancel));
    EXPECT_TRUE(view_.HasHandler(cmd::kBitmapView));
    EXPECT_TRUE(view_.HasHandler(cmd::kModelView));
    const auto& bitmapMenu = PopupMenuResource(IDR_POPUP_BITMAP);
    ASSERT_EQ(bitmapMenu.items.size(), 11u);
    EXPECT_EQ(bitmapMenu.items[0].text, "View");
    EXPECT_TRUE(bitmapMenu.items[1].IsSeparator());
    EXPECT_EQ(bitmapMenu.items[8].id, cmd::kBitmapImportFrom);  // the formats after the plain commands
    EXPECT_EQ(bitmapMenu.items[10].id, cmd::kCancel);
    EXPECT_EQ(PopupMenuResource(IDR_POPUP_MODEL).items[2].text, "Export Model");
    EXPECT_EQ(PopupMenuResource(IDR_POPUP_CM3D).items[0].id, cmd::kBankExportAll);
    // Cancel ends every popup, also those that gained entries after it.
    for (const int popup : {IDR_POPUP_BITMAP, IDR_POPUP_BFP, IDR_POPUP_MODEL, IDR_POPUP_CM3D})
        EXPECT_EQ(PopupMenuResource(popup).items.back().id, cmd::kCancel) << popup;
}

TEST_F(Interaction, RightPressOnAnItemMakesItTheContextItemWithoutMovingTheSelection) {
    auto& tree = view_.GetTreeCtrl();
    tree.SelectItem(Item({}));
    view_.OnRButtonDown(OnLabel(Item({1})));
    EXPECT_EQ(view_.ContextItem(), Item({1}));
    EXPECT_EQ(tree.GetDropHighlightItem(), Item({1}));
    EXPECT_EQ(tree.GetSelectedItem(), Item({}));
}

TEST_F(Interaction, PressesOffTheIconAndLabelHitNothing) {
    view_.OnRButtonDown(OnLabel(Item({1})));
    const auto rect = *view_.GetTreeCtrl().Geometry().ItemTextRect(Item({0}));
    view_.OnRButtonDown({rect.right + 1, rect.top + 1});  // right of the label
    view_.OnRButtonDown({2, rect.top + 1});               // indentation and button
    view_.OnRButtonDown({rect.left, 16 * 50});            // below the last item
    EXPECT_EQ(view_.ContextItem(), Item({1}));
    EXPECT_FALSE(view_.OnContextMenu({rect.left, 16 * 50}));
    EXPECT_TRUE(ui_.menus.empty());
}

TEST_F(Interaction, LeftPressDropHighlightsTheItem) {
    view_.OnLButtonDown(OnLabel(Item({0})));
    EXPECT_EQ(view_.GetTreeCtrl().GetDropHighlightItem(), Item({0}));
    EXPECT_EQ(view_.ContextItem(), nullptr);
}

TEST_F(Interaction, ContextMenuShowsTheItemsPopupAndClearsItsHighlight) {
    const fw::Point point = OnLabel(Item({0}));
    view_.OnRButtonDown(point);
    ASSERT_TRUE(view_.OnContextMenu(point));
    ASSERT_EQ(ui_.menus.size(), 1u);
    EXPECT_EQ(ui_.menus[0].resourceId, IDR_POPUP_CM3D);
    EXPECT_EQ(ui_.menus[0].screen.x, point.x);
    EXPECT_FALSE(Item({0})->dropHighlighted);
    EXPECT_EQ(view_.GetTreeCtrl().GetDropHighlightItem(), nullptr);
}

TEST_F(Interaction, TheChosenCommandActsOnTheContextItem) {
    view_.OnRButtonDown(OnLabel(Item({0})));
    ui_.menuChoice = cmd::kCancel;
    ASSERT_TRUE(view_.OnContextMenu(OnLabel(Item({0}))));
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_FALSE(doc_.IsModified());
}

TEST_F(Interaction, ShiftThenF10OpensTheMenuAtTheCaretsTextCorner) {
    auto& tree = view_.GetTreeCtrl();
    tree.SelectItem(Item({1}));
    view_.SetContextItem(Item({0}));
    EXPECT_EQ(view_.OnKeyDown(cmd::kKeyShift), 0);
    EXPECT_EQ(view_.OnKeyDown(cmd::kKeyF10), 0);
    ASSERT_EQ(ui_.menus.size(), 1u);
    const auto rect = *tree.Geometry().ItemTextRect(Item({1}));
    EXPECT_EQ(ui_.menus[0].screen.x, rect.right);
    EXPECT_EQ(ui_.menus[0].screen.y, rect.top);
    // The point on the right edge still counts as on the label here.
    EXPECT_EQ(ui_.menus[0].resourceId, IDR_POPUP_CM3D);
    // The menu's commands act on the item it was opened for.
    EXPECT_EQ(view_.ContextItem(), Item({1}));
}

TEST_F(Interaction, AnyOtherKeyBetweenShiftAndF10CancelsIt) {
    view_.GetTreeCtrl().SelectItem(Item({1}));
    view_.OnKeyDown(cmd::kKeyShift);
    view_.OnKeyDown('A');
    view_.OnKeyDown(cmd::kKeyF10);
    view_.OnKeyDown(cmd::kKeyF10);
    EXPECT_TRUE(ui_.menus.empty());
}

TEST_F(Interaction, MenuAtMinusOneIsShownNearTheClientAreasCorner) {
    view_.ShowItemMenu(IDR_POPUP_BFP, {-1, -1});
    ASSERT_EQ(ui_.menus.size(), 1u);
    EXPECT_EQ(ui_.menus[0].screen.x, 5);
    EXPECT_EQ(ui_.menus[0].screen.y, 5);
}

TEST_F(Interaction, NextItemInTreeOrderVisitsEveryItemDepthFirst) {
    std::vector<std::string> visited;
    for (fw::TreeItem* item = view_.NextItemInTreeOrder(Item({})); item; item = view_.NextItemInTreeOrder(item))
        visited.push_back(item->text);
    const std::vector<std::string> expected = {"CM3D 1: 2 Objects  1 Bitmaps",
                                               "box",
                                               "Vertices:    8 ",
                                               "Triangles:  12",
                                               "pyr",
                                               "Vertices:    5 ",
                                               "Triangles:  6",
                                               "0:a",
                                               "Size:    102 bytes",
                                               "Offset:  000560x0",
                                               "CM3D 2: 1 Objects  0 Bitmaps",
                                               "two",
                                               "Vertices:    8 ",
                                               "Triangles:  12"};
    EXPECT_EQ(visited, expected);
}

TEST_F(Interaction, RecordCommandsWithoutARecordSayBugger) {
    for (int command : {cmd::kBitmapView, cmd::kBitmapExport, cmd::kBitmapImport, cmd::kModelView}) {
        ui_.messages.clear();
        RunCommand({}, command);
        ASSERT_EQ(ui_.messages.size(), 1u) << command;
        EXPECT_EQ(ui_.messages[0].text, "No data associated with item.\n");
        EXPECT_EQ(ui_.messages[0].caption, "Bugger");
        EXPECT_TRUE(ui_.messages[0].style.taskModal);
    }
    view_.SetContextItem(nullptr);
    view_.OnViewBitmap();
    EXPECT_EQ(ui_.messages.back().caption, "Bugger");
}

}  // namespace
