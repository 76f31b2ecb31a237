// The window around the tree: the preview of the caret item, the Find box,
// the unsaved-changes mark with Revert, and what the window remembers.
#include <QBuffer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include "app/bitmappreview.h"
#include "app/browserlayout.h"
#include "app/documentstate.h"
#include "app/mainframe.h"
#include "app/previewpane.h"
#include "app/recordtreemodel.h"
#include "app/recordtreeview.h"
#include "app/treefilter.h"
#include "datafile/layouts.h"
#include "framework/commandids.h"
#include "tests/app/apptestsupport.h"
#include "tools/bfpbuilder.h"
#include "viewer/gui/modelcanvas.h"

class PreviewTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void aBitmapShowsItsPictureItsFactsAndWhatItCopies();
    void aModelShowsItsFacesWithTheBanksBitmapsOnThem();
    void aTextureShowsTheSameWayUpAsInTheExports();
    void theModelTurnsAndZoomsFromTheKeyboardAndStaysSoAfterACommand();
    void theTreeAndTheModelViewStayAsTheyWereAcrossCommandsThatChangeTheDocument();
    void banksAndTheFileShowTheirCounts();
    void damagedRecordsShowAReasonInsteadOfAPicture();
    void aBitmapPromisingMorePixelsThanItsRecordHoldsIsNeverDrawn();
    void theArrowKeysMoveThePreviewAlong();
    void findKeepsMatchesUnderTheirBanks();
    void unsavedChangesMarkTheTitleAndRevertReloads();
    void revertKeepsTheChangesWhenTheFileIsGone();
    void theWindowAndTheSplitAreRemembered();
    void aFileWithoutBanksSaysSoInTheStatusBar();
    void openStartsInTheFolderOfTheLastFile();
    void iconsStaySharpAtTwiceTheSize();

private:
    fw::TreeItem* Item(const QString& label) const;
    void Select(fw::TreeItem* item);
    PreviewPane& Pane() const { return app_->Layout().Preview(); }

    std::unique_ptr<CPallixApp> app_;
    QTemporaryDir folder_;
};

void PreviewTest::init() { app_ = StartApp({DemoFile()}, CPallixApp::StartResult::run); }

void PreviewTest::cleanup() { app_.reset(); }

fw::TreeItem* PreviewTest::Item(const QString& label) const {
    fw::TreeItem* found = nullptr;
    app_->View().GetTreeCtrl().ForEachItem([&](fw::TreeItem* item) {
        if (!found && QString::fromLatin1(item->text).startsWith(label)) found = item;
    });
    if (!found) qFatal("no item %s", qPrintable(label));
    return found;
}

// A click on the item's label, as the user selects it.
void PreviewTest::Select(fw::TreeItem* item) {
    fw::TreeControl& tree = app_->View().GetTreeCtrl();
    if (item->parent) tree.Expand(item->parent, fw::TreeControl::ExpandAction::expand);
    RecordTreeView& view = app_->TreeView();
    view.scrollTo(view.Model().IndexOf(item));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.PartsOf(view.Model().IndexOf(item))->label.center());
    Pane().ShowPendingNow();
}

void PreviewTest::aBitmapShowsItsPictureItsFactsAndWhatItCopies() {
    Select(Item("0:crate.bmp"));
    BitmapPreview* picture = Pane().BitmapView();
    QVERIFY(picture->isVisible());
    QCOMPARE(picture->picture().size(), QSize(32, 32));
    QVERIFY2(Pane().Details().contains("32 x 32 pixels, 8 bits per pixel"), qPrintable(Pane().Details()));
    QVERIFY(!Pane().Details().contains("copy"));

    // The wheel zooms in past the fitted size.
    const double fitted = picture->Scale();
    const QPointF centre = QRectF(picture->rect()).center();
    QWheelEvent wheel(centre, picture->mapToGlobal(centre), {}, QPoint(0, 360), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(picture, &wheel);
    QVERIFY(picture->Scale() > fitted * 1.9);

    Select(Item("1:crate2.bmp"));
    QVERIFY2(Pane().Details().contains("A copy of 0:crate.bmp in CM3D 1"), qPrintable(Pane().Details()));
    QVERIFY2(Pane().Details().contains("32 x 32 pixels"), qPrintable(Pane().Details()));
}

void PreviewTest::aModelShowsItsFacesWithTheBanksBitmapsOnThem() {
    Select(Item("crate"));
    vistel::ModelCanvas* canvas = Pane().ModelView();
    QVERIFY(canvas->isVisible());
    QCOMPARE(canvas->model().faces.size(), 12u);
    QVERIFY2(Pane().Details().contains("8 vertices, 12 triangles, 2 textures"), qPrintable(Pane().Details()));
    const QImage textured = canvas->grab().toImage();
    // The same faces without their bitmaps paint otherwise.
    canvas->SetModel(canvas->model(), {});
    QVERIFY(canvas->grab().toImage() != textured);
}

// A wall standing upright, seen from both sides, with a picture red in its
// upper half and blue in its lower. Its mapping puts the picture's top at
// the wall's top in every export: glTF's v = 1 - v of the model's vertices,
// and 3DS's and OBJ's v, which run up the picture.
void PreviewTest::aTextureShowsTheSameWayUpAsInTheExports() {
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 2; ++y) picture.setPixel(x, y, qRgb(255, 0, 0));
    QByteArray bmp;
    QBuffer buffer(&bmp);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "BMP"));
    const int32_t h = 5000, one = 65536;
    bfp::Model wall{"wall", {}, {}, 64};
    for (int i = 0; i < 4; ++i) {
        const bool right = i == 1 || i == 2, top = i >= 2;
        wall.vertices.push_back({right ? h : -h, top ? h : -h, 0, right ? one : 0, top ? one : 0});
    }
    wall.triangles = {{0, 1, 2, 0, {}}, {0, 2, 3, 0, {}}, {2, 1, 0, 0, {}}, {3, 2, 0, 0, {}}};
    bfp::ImageWriter image;
    image.AddBank({{wall}, {{"paint", std::vector<uint8_t>(bmp.begin(), bmp.end())}}});
    QTemporaryDir folder;
    const QString file = folder.filePath("wall.bfp");
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(reinterpret_cast<const char*>(image.bytes().data()), qint64(image.bytes().size()));
    out.close();
    QVERIFY(app_->OpenDocumentFile(file));

    Select(Item("wall"));
    const QImage shown = Pane().ModelView()->grab().toImage();
    // Down the middle of the canvas: the first colour of the wall met from
    // the top must be the picture's top.
    QRgb first = 0, last = 0;
    for (int y = 0; y < shown.height(); ++y) {
        const QRgb pixel = shown.pixel(shown.width() / 2, y);
        if (qAbs(qRed(pixel) - qBlue(pixel)) < 40) continue;
        if (!first) first = pixel;
        last = pixel;
    }
    QVERIFY2(qRed(first) > qBlue(first), "the wall's top is not the picture's top");
    QVERIFY(qBlue(last) > qRed(last));
}

void PreviewTest::theModelTurnsAndZoomsFromTheKeyboardAndStaysSoAfterACommand() {
    Select(Item("crate"));
    vistel::ModelCanvas* canvas = Pane().ModelView();
    const QImage fitted = canvas->grab().toImage();
    for (const int key : {int(Qt::Key_Right), int(Qt::Key_Up), int(Qt::Key_Plus), int(Qt::Key_Minus)}) {
        const QImage before = canvas->grab().toImage();
        QTest::keyClick(canvas, Qt::Key(key));
        QVERIFY2(canvas->grab().toImage() != before, qPrintable(QKeySequence(key).toString()));
    }
    // A command ends with the preview shown anew; the turned model stays turned.
    const QImage turned = canvas->grab().toImage();
    Pane().Refresh();
    Pane().ShowPendingNow();
    QCOMPARE(canvas->grab().toImage(), turned);
    QTest::keyClick(canvas, Qt::Key_Home);
    QCOMPARE(canvas->grab().toImage(), fitted);
}

void PreviewTest::theTreeAndTheModelViewStayAsTheyWereAcrossCommandsThatChangeTheDocument() {
    const QString copy = folder_.filePath("kept.bfp");
    QFile::remove(copy);
    QVERIFY(QFile::copy(DemoFile(), copy));
    QVERIFY(app_->OpenDocumentFile(copy));
    app_->View().SetExportFolder(ToPath(folder_.filePath("kept-exports")));
    app_->View().SetAnnouncePaths(false);
    app_->MainFrame().resize(app_->MainFrame().width(), 260);
    RecordTreeView& view = app_->TreeView();
    for (const QString& bank : {QStringLiteral("CM3D 1"), QStringLiteral("CM3D 2"), QStringLiteral("CM3D 3")})
        app_->View().GetTreeCtrl().Expand(Item(bank), fw::TreeControl::ExpandAction::expand);
    fw::TreeItem* model = Item("crate");
    Select(model);
    vistel::ModelCanvas* canvas = Pane().ModelView();
    QTest::keyClick(canvas, Qt::Key_Right);
    QTest::keyClick(canvas, Qt::Key_Plus);
    QTRY_VERIFY(view.verticalScrollBar()->maximum() > 0);
    view.verticalScrollBar()->setValue(1);
    const QImage turned = canvas->grab().toImage();

    MessageBoxAnswerer answerer(QMessageBox::Ok);
    PopupRecorder popups;
    for (const QString& command : {QStringLiteral("Export Model"), QStringLiteral("Import Model")}) {
        popups.choose = command;
        RightClick(view, LabelOf(view, model));
        QTest::qWait(50);
    }
    QVERIFY(app_->Document().IsModified());
    app_->MainFrame().OnCommand(cmd::kFileSave);
    QTest::qWait(50);
    QVERIFY(!app_->Document().IsModified());
    for (const QString& bank : {QStringLiteral("CM3D 1"), QStringLiteral("CM3D 2"), QStringLiteral("CM3D 3")})
        QVERIFY2(view.isExpanded(view.Model().IndexOf(Item(bank))), qPrintable(bank));
    QCOMPARE(view.currentIndex(), view.Model().IndexOf(Item("crate")));
    QCOMPARE(view.verticalScrollBar()->value(), 1);
    Pane().ShowPendingNow();
    QCOMPARE(canvas->grab().toImage(), turned);
}

void PreviewTest::banksAndTheFileShowTheirCounts() {
    Select(Item("CM3D 1"));
    QCOMPARE(Pane().Details(), QStringLiteral("2 models\n2 bitmaps, 0 of them copies of earlier ones"));
    Select(Item("CM3D 3"));
    QCOMPARE(Pane().Details(), QStringLiteral("1 model\n2 bitmaps, 2 of them copies of earlier ones"));
    Select(Item("Quon Data File"));
    QCOMPARE(Pane().Details(), QStringLiteral("3 model banks\n4 models\n5 bitmaps"));
    // A leaf shows what its model shows.
    Select(Item("Vertices"));
    QCOMPARE(Pane().Heading(), QStringLiteral("crate"));
}

void PreviewTest::damagedRecordsShowAReasonInsteadOfAPicture() {
    auto image = app_->Document().Image();
    const ItemRecord& model = *CPallixView::RecordOf(Item("crate"));
    image[model.nOffset + pallix::ModelRecord::kVertexCount + 1] = 0xFF;
    const ItemRecord& bitmap = *CPallixView::RecordOf(Item("1:stone.bmp"));
    image[bitmap.nOffset] = 'X';
    Pane().Refresh();
    Select(Item("crate"));
    QVERIFY2(Pane().Details().contains("This model is damaged"), qPrintable(Pane().Details()));
    QVERIFY(!Pane().ModelView()->isVisible());
    Select(Item("1:stone.bmp"));
    QVERIFY2(Pane().Details().contains("This bitmap is damaged"), qPrintable(Pane().Details()));
    QVERIFY(!Pane().BitmapView()->isVisible());
}

// Its header says 64 rows where the record holds 32: drawn, the rest would
// come from memory past the bitmap.
void PreviewTest::aBitmapPromisingMorePixelsThanItsRecordHoldsIsNeverDrawn() {
    constexpr uint32_t kBmpHeight = 22;
    const ItemRecord& bitmap = *CPallixView::RecordOf(Item("0:crate.bmp"));
    app_->Document().Image()[bitmap.nOffset + kBmpHeight] = 64;
    Pane().Refresh();
    Select(Item("0:crate.bmp"));
    QVERIFY2(Pane().Details().startsWith("This bitmap is damaged: "), qPrintable(Pane().Details()));
    QVERIFY(!Pane().BitmapView()->isVisible());
    Select(Item("crate"));
    QVERIFY(Pane().ModelView()->isVisible());
    QVERIFY2(Pane().Details().contains("The faces of 0:crate.bmp in CM3D 1 show plain grey. This bitmap is damaged: "),
             qPrintable(Pane().Details()));
}

void PreviewTest::theArrowKeysMoveThePreviewAlong() {
    Select(Item("crate"));
    Select(Item("CM3D 1"));
    QTest::keyClick(&app_->TreeView(), Qt::Key_Down);
    QTRY_COMPARE(Pane().Heading(), QStringLiteral("crate"));
    QTest::keyClick(&app_->TreeView(), Qt::Key_Down);
    QTRY_COMPARE(Pane().Heading(), QStringLiteral("pyramid"));
}

void PreviewTest::findKeepsMatchesUnderTheirBanks() {
    RecordTreeView& view = app_->TreeView();
    const auto shows = [&](const QString& label) {
        const QModelIndex index = view.Model().IndexOf(Item(label));
        return !view.isRowHidden(index.row(), index.parent());
    };
    QTest::keyClicks(&app_->Layout().Filter(), "STONE");
    app_->Layout().Filter().Apply();
    QVERIFY(shows("CM3D 1") && shows("1:stone.bmp"));
    QVERIFY(!shows("crate") && !shows("CM3D 2") && !shows("CM3D 3"));
    QVERIFY(Item("CM3D 1")->expanded);
    // A matching bank keeps all it holds.
    app_->Layout().Filter().setText("cm3d 2");
    app_->Layout().Filter().Apply();
    QVERIFY(shows("CM3D 2") && shows("bigbox") && !shows("CM3D 1"));
    // Ctrl+F reaches the box from the tree, Escape empties it.
    app_->MainFrame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&app_->MainFrame()));
    QTest::keyClick(&view, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(app_->Layout().Filter().hasFocus());
    QTest::keyClick(&app_->Layout().Filter(), Qt::Key_Escape);
    QVERIFY(app_->Layout().Filter().text().isEmpty());
    QVERIFY(shows("crate") && shows("CM3D 3") && shows("0:sky.bmp"));
}

void PreviewTest::unsavedChangesMarkTheTitleAndRevertReloads() {
    CMainFrame& frame = app_->MainFrame();
    QVERIFY(!frame.isWindowModified());
    QVERIFY(!frame.Action(cmd::kFileSave)->isEnabled());
    QVERIFY(!app_->State().RevertAction()->isEnabled());

    const QString copy = folder_.filePath("copy.bfp");
    QFile::remove(copy);
    QVERIFY(QFile::copy(DemoFile(), copy));
    QVERIFY(app_->OpenDocumentFile(copy));
    auto image = app_->Document().Image();
    const uint8_t original = image[10];
    image[10] ^= 0xFF;
    app_->Document().SetModifiedFlag(true);
    QTRY_VERIFY(frame.isWindowModified());
    QVERIFY(frame.Action(cmd::kFileSave)->isEnabled());

    {
        MessageBoxAnswerer no(QMessageBox::No);
        app_->State().RevertAction()->trigger();
        QCOMPARE(no.texts.size(), 1);
        QVERIFY(frame.isWindowModified());
    }

    MessageBoxAnswerer yes(QMessageBox::Yes);
    app_->State().RevertAction()->trigger();
    QVERIFY2(yes.texts.value(0).contains("Discard your changes to copy.bfp"), qPrintable(yes.texts.value(0)));
    QVERIFY(!frame.isWindowModified());
    QCOMPARE(app_->Document().Image()[10], original);
    QCOMPARE(QString::fromStdString(app_->Document().GetPathName()), QFileInfo(copy).absoluteFilePath());
}

void PreviewTest::revertKeepsTheChangesWhenTheFileIsGone() {
    const QString copy = folder_.filePath("gone.bfp");
    QVERIFY(QFile::copy(DemoFile(), copy));
    QVERIFY(app_->OpenDocumentFile(copy));
    app_->Document().SetModifiedFlag(true);
    QVERIFY(QFile::remove(copy));
    MessageBoxAnswerer ok(QMessageBox::Ok);
    app_->State().Revert();
    QVERIFY2(ok.texts.value(0).contains("cannot be read any more"), qPrintable(ok.texts.value(0)));
    QVERIFY(app_->Document().IsModified());
    QVERIFY(app_->View().GetTreeCtrl().GetRootItem()->children.size() == 3);
}

void PreviewTest::theWindowAndTheSplitAreRemembered() {
    ClearSettings();
    app_->MainFrame().resize(900, 500);
    app_->Layout().Splitter().setSizes({200, 700});
    const QList<int> split = app_->Layout().Splitter().sizes();
    app_->MainFrame().close();
    app_ = StartApp({DemoFile()}, CPallixApp::StartResult::run);
    QCOMPARE(app_->MainFrame().size(), QSize(900, 500));
    QCOMPARE(app_->Layout().Splitter().sizes(), split);
    ClearSettings();
}

void PreviewTest::aFileWithoutBanksSaysSoInTheStatusBar() {
    const QString foreign = folder_.filePath("foreign.bfp");
    QFile file(foreign);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    QVERIFY(app_->OpenDocumentFile(foreign));
    auto* message = app_->MainFrame().statusBar()->findChild<QLabel*>("MessagePane");
    QCOMPARE(message->text(), QStringLiteral("No model banks found in this file"));
    QTRY_COMPARE(Pane().Details(), QStringLiteral("No model banks found."));
    QVERIFY(app_->OpenDocumentFile(DemoFile()));
    QCOMPARE(message->text(), QStringLiteral("Ready"));
}

void PreviewTest::openStartsInTheFolderOfTheLastFile() {
    QString shownFolder;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        shownFolder = dialog->directory().absolutePath();
        dialog->reject();
    });
    watch.start(10);
    app_->OnFileOpen();
    QCOMPARE(shownFolder, QFileInfo(DemoFile()).absolutePath());
}

void PreviewTest::iconsStaySharpAtTwiceTheSize() {
    RecordTreeView& view = app_->TreeView();
    const QIcon icon = view.Model().data(view.Model().index(0, 0), Qt::DecorationRole).value<QIcon>();
    const QImage single = icon.pixmap(QSize(16, 16), 1.0).toImage();
    const QImage doubled = icon.pixmap(QSize(16, 16), 2.0).toImage();
    QCOMPARE(doubled.size(), QSize(32, 32));
    // Every pixel of the artwork becomes a square of four, with no blended edges.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) QCOMPARE(doubled.pixel(x, y), single.pixel(x / 2, y / 2));
    QVERIFY(app_->MainFrame().Action(cmd::kFileOpen)->icon().availableSizes().contains(QSize(32, 30)));
}

QObject* NewPreviewTest() { return new PreviewTest; }

#include "preview_test.moc"
