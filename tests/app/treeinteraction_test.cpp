// The record tree on screen: real mouse clicks and keys reach the view, and
// the hit test answers from the widget's real layout.
#include <QMenu>
#include <QMessageBox>
#include <QtTest>

#include "app/browserlayout.h"
#include "app/mainframe.h"
#include "app/previewpane.h"
#include "app/recordtreemodel.h"
#include "app/recordtreeview.h"
#include "tests/app/apptestsupport.h"

class TreeInteractionTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void theHitTestKnowsThePartsOfARow();
    void theDropHighlightShowsOnlyWhileAPopupIsOpen();
    void aRightClickOffersTheItemsMenuAndSelectsItsRowAlone();
    void aCommandPickedInThePopupActsOnTheContextItem();
    void aRightClickBelowTheLastItemShowsNothing();
    void shiftThenF10OpensTheCaretItemsMenu();
    void theKeyboardsPopupActsOnTheCaretItem();

private:
    fw::TreeItem* Bank(int row) const;
    QPoint LabelOf(fw::TreeItem* item) const { return ::LabelOf(*view_, item); }
    void RightClick(const QPoint& point) { ::RightClick(*view_, point); }

    QStringList Offered(int menu) const;

    std::unique_ptr<CPallixApp> app_;
    std::unique_ptr<PopupRecorder> popups_;
    RecordTreeView* view_ = nullptr;
    fw::TreeControl* tree_ = nullptr;
};

void TreeInteractionTest::init() {
    popups_ = std::make_unique<PopupRecorder>();
    app_ = StartApp({DemoFile()}, CPallixApp::StartResult::run);
    view_ = &app_->TreeView();
    tree_ = &app_->View().GetTreeCtrl();
    app_->MainFrame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&app_->MainFrame()));
}

void TreeInteractionTest::cleanup() {
    app_.reset();
    popups_.reset();
}

// A recorded popup as its title and entry texts; each entry must be enabled
// exactly when the view handles its command.
QStringList TreeInteractionTest::Offered(int menu) const {
    const QStringList& seen = popups_->menus.at(menu);
    QStringList texts{seen.front()};
    for (const QString& entry : seen.mid(1)) {
        const QStringList parts = entry.split('\t');
        const bool handled = app_->View().HasHandler(parts.at(0).toInt());
        texts << (handled == (parts.at(2) == "enabled") ? parts.at(1) : parts.at(1) + " (wrong state)");
    }
    return texts;
}

fw::TreeItem* TreeInteractionTest::Bank(int row) const {
    return tree_->GetRootItem()->children.at(static_cast<size_t>(row)).get();
}

void TreeInteractionTest::theHitTestKnowsThePartsOfARow() {
    const fw::TreeGeometry& geometry = tree_->Geometry();
    fw::TreeItem* bank = Bank(1);
    const auto parts = *view_->PartsOf(view_->Model().IndexOf(bank));
    const int y = parts.label.center().y();
    const auto at = [&](int x) { return geometry.HitTest({x, y}); };
    QCOMPARE(at(parts.button.left() - 2).flags, unsigned(fw::kHitOnIndent));
    QCOMPARE(at(parts.button.center().x()).flags, unsigned(fw::kHitOnButton));
    QCOMPARE(at(parts.icon.center().x()).flags, unsigned(fw::kHitOnIcon));
    QCOMPARE(at(parts.label.center().x()).flags, unsigned(fw::kHitOnLabel));
    QCOMPARE(at(parts.label.right() + 10).flags, unsigned(fw::kHitOnRight));
    QCOMPARE(at(parts.label.center().x()).item, bank);
    // The text rectangle is the label's, in the same coordinates.
    const auto text = *geometry.ItemTextRect(bank);
    QCOMPARE(text.left, parts.label.left());
    QCOMPARE(text.top, parts.label.top());
    // An item inside a closed bank is not on screen.
    QVERIFY(!geometry.ItemTextRect(bank->children.front().get()));
    const fw::Point screen = geometry.ClientToScreen({3, 4});
    QCOMPARE(geometry.ScreenToClient(screen).x, 3);
    QCOMPARE(geometry.ScreenToClient(screen).y, 4);
}

// Only one item ever looks selected: the caret, or while a popup is open
// the item it belongs to.
void TreeInteractionTest::theDropHighlightShowsOnlyWhileAPopupIsOpen() {
    fw::TreeItem* bank = Bank(0);
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, LabelOf(bank));
    QCOMPARE(tree_->GetSelectedItem(), bank);
    QCOMPARE(view_->currentIndex(), view_->Model().IndexOf(bank));
    QCOMPARE(tree_->GetDropHighlightItem(), nullptr);
    QTest::keyClick(view_, Qt::Key_Down);
    QCOMPARE(tree_->GetSelectedItem(), Bank(1));
    QVERIFY(!view_->Model().IndexOf(bank).data(Qt::BackgroundRole).isValid());

    fw::TreeItem* highlightedInPopup = nullptr;
    fw::TreeItem* selectedInPopup = nullptr;
    popups_->whileOpen = [&] {
        highlightedInPopup = tree_->GetDropHighlightItem();
        selectedInPopup = tree_->GetSelectedItem();
    };
    RightClick(LabelOf(Bank(2)));
    QCOMPARE(highlightedInPopup, Bank(2));
    QCOMPARE(selectedInPopup, Bank(2));
    QCOMPARE(tree_->GetDropHighlightItem(), nullptr);
}

// Two rows looking selected, the preview showing the other one, would leave
// the user guessing which row the command acts on.
void TreeInteractionTest::aRightClickOffersTheItemsMenuAndSelectsItsRowAlone() {
    fw::TreeItem* first = Bank(0);
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, LabelOf(first));
    fw::TreeItem* bank = Bank(1);
    RightClick(LabelOf(bank));
    QCOMPARE(popups_->menus.size(), 1);
    QCOMPARE(Offered(0), QStringList({"CM3D", "Export All", "Import All", "Export All As...", "Cancel"}));
    QVERIFY(popups_->menus.front().at(2).endsWith("\tenabled"));
    QVERIFY(popups_->menus.front().at(4).endsWith("\tenabled"));
    QCOMPARE(app_->View().ContextItem(), bank);
    QCOMPARE(tree_->GetSelectedItem(), bank);
    QCOMPARE(view_->currentIndex(), view_->Model().IndexOf(bank));
    QCOMPARE(view_->selectionModel()->selectedIndexes(), QModelIndexList{view_->Model().IndexOf(bank)});
    app_->Layout().Preview().ShowPendingNow();
    QCOMPARE(app_->Layout().Preview().Heading(), QString::fromLatin1(bank->text).trimmed());
    // The highlight goes when the menu has closed.
    QVERIFY(!bank->dropHighlighted);

    // The root offers the file's menu; a bitmap's leaf its bitmap's.
    RightClick(LabelOf(tree_->GetRootItem()));
    QCOMPARE(Offered(1), QStringList({"BFP", "Export All", "Import All", "Export All As...", "Cancel"}));
    tree_->Expand(first, fw::TreeControl::ExpandAction::expand);
    fw::TreeItem* bitmap = first->children.back().get();
    tree_->Expand(bitmap, fw::TreeControl::ExpandAction::expand);
    RightClick(LabelOf(bitmap->children.front().get()));
    QCOMPARE(Offered(2), QStringList({"Bitmap", "View", "Export...", "Import...", "Export Bitmap As...",
                                      "Import Bitmap From...", "Cancel"}));
    QCOMPARE(app_->View().ContextItem(), bitmap->children.front().get());
    QCOMPARE(popups_->menus.size(), 3);
}

void TreeInteractionTest::aCommandPickedInThePopupActsOnTheContextItem() {
    fw::TreeItem* bank = Bank(0);
    tree_->Expand(bank, fw::TreeControl::ExpandAction::expand);
    fw::TreeItem* bitmap = bank->children.back().get();
    const auto* record = CPallixView::RecordOf(bitmap);
    popups_->choose = QStringLiteral("Import...");
    MessageBoxAnswerer answer(QMessageBox::Ok);
    RightClick(LabelOf(bitmap));
    QCOMPARE(popups_->menus.size(), 1);
    // The import names its file first: the one of the bitmap clicked.
    QVERIFY(!answer.texts.isEmpty());
    const QString announced = answer.texts.front();
    const QString file = 'O' + QString::number(record->nOffset, 16).toUpper() + ".bmp";
    QVERIFY2(announced.startsWith("Opening file Bitmap file: ") && announced.endsWith(file), qPrintable(announced));
}

void TreeInteractionTest::aRightClickBelowTheLastItemShowsNothing() {
    fw::TreeItem* bank = Bank(0);
    RightClick(LabelOf(bank));
    popups_->menus.clear();
    const QRect last = view_->visualRect(view_->Model().IndexOf(Bank(2)));
    const QPoint below(last.left() + 5, last.bottom() + 3 * last.height());
    QVERIFY(view_->viewport()->rect().contains(below));
    RightClick(below);
    QTest::qWait(50);
    QVERIFY(popups_->menus.isEmpty());
    QCOMPARE(app_->View().ContextItem(), bank);
}

void TreeInteractionTest::shiftThenF10OpensTheCaretItemsMenu() {
    fw::TreeItem* bank = Bank(2);
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, LabelOf(bank));
    QCOMPARE(tree_->GetSelectedItem(), bank);
    QTest::keyClick(view_, Qt::Key_Shift);
    QTest::keyClick(view_, Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(popups_->menus.size(), 1);
    QCOMPARE(Offered(0).front(), QStringLiteral("CM3D"));
    QCOMPARE(app_->View().ContextItem(), bank);
    // Any other key in between: F10 alone does nothing.
    QTest::keyClick(view_, Qt::Key_Shift);
    QTest::keyClick(view_, Qt::Key_A);
    QTest::keyClick(view_, Qt::Key_F10);
    QTest::qWait(50);
    QCOMPARE(popups_->menus.size(), 1);
}

// As a right click does, the keyboard's popup (Shift+F10 or the Menu key,
// which the platform reports as a keyboard context-menu request) makes its
// item the one the commands act on.
void TreeInteractionTest::theKeyboardsPopupActsOnTheCaretItem() {
    RightClick(LabelOf(Bank(0)));
    fw::TreeItem* bank = Bank(2);
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, LabelOf(bank));
    popups_->choose = QStringLiteral("Cancel");
    QTest::keyClick(view_, Qt::Key_Shift);
    QTest::keyClick(view_, Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(popups_->menus.size(), 2);
    QCOMPARE(app_->View().ContextItem(), bank);

    popups_->choose.clear();
    QTest::keyClick(view_, Qt::Key_Up);
    QTest::keyClick(view_, Qt::Key_Menu);
    const QPoint mouse = view_->viewport()->rect().bottomRight();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, mouse, view_->viewport()->mapToGlobal(mouse));
    QApplication::sendEvent(view_->viewport(), &request);
    QCOMPARE(popups_->menus.size(), 3);
    QCOMPARE(Offered(2).front(), QStringLiteral("CM3D"));
    QCOMPARE(app_->View().ContextItem(), Bank(1));
}

#include "treeinteraction_test.moc"

QObject* NewTreeInteractionTest() { return new TreeInteractionTest; }
