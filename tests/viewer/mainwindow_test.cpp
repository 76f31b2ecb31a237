#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/viewer/dxftext.h"
#include "viewer/gui/mainwindow.h"
#include "viewer/gui/modelcanvas.h"
#include "viewer/gui/texturedface.h"

namespace {

// Whether two pictures of the canvas differ anywhere.
bool Differ(const QImage& a, const QImage& b) { return a != b; }

// How many pixels of the middle third of a row are not the background, which
// the row's left edge shows.
int CoveredInRow(const QImage& picture, int row) {
    int covered = 0;
    for (int x = picture.width() / 3; x < 2 * picture.width() / 3; ++x)
        covered += picture.pixel(x, row) != picture.pixel(2, row);
    return covered;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsADrawingShadedAndAsWireframe();
    void turnsTheModelWithALeftDrag();
    void zoomsFarInAndOutWithTheWheel();
    void reportsAFileItCannotShow_data();
    void reportsAFileItCannotShow();
    void texturesFollowTheirPointsOntoTheScreen();

private:
    QString Write(const QString& name, const std::string& text);
    QImage Picture() const { return window_->canvas()->grab().toImage(); }

    QTemporaryDir folder_;
    QStringList messages_;
    std::unique_ptr<vistel::MainWindow> window_;
};

void MainWindowTest::init() {
    messages_.clear();
    window_ = std::make_unique<vistel::MainWindow>([this](QWidget*, const QString& text) { messages_ << text; });
    window_->resize(480, 400);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void MainWindowTest::cleanup() { window_.reset(); }

QString MainWindowTest::Write(const QString& name, const std::string& text) {
    const QString path = folder_.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(text.data(), static_cast<qint64>(text.size()));
    return path;
}

void MainWindowTest::showsADrawingShadedAndAsWireframe() {
    QVERIFY(window_->OpenFile(Write("cube.dxf", dxftext::WithLineEnds(dxftext::Cube(), "\r\n"))));
    QVERIFY(messages_.isEmpty());
    QCOMPARE(window_->windowTitle(), QStringLiteral("cube - Vistel"));
    QCOMPARE(window_->canvas()->model().faces.size(), 12u);
    QCOMPARE(window_->faceCountText(), QStringLiteral("12 faces"));

    // The cube sits in the middle; the background runs top to bottom, so
    // the left edge of the same row shows what the middle would without it.
    const QImage shaded = Picture();
    const int row = shaded.height() / 2;
    QVERIFY(shaded.pixel(shaded.width() / 2, row) != shaded.pixel(2, row));

    window_->wireframeAction()->trigger();
    QVERIFY(window_->canvas()->wireframe());
    // Lines only: across the middle, the background shows between the edges.
    const QImage lines = Picture();
    QVERIFY(Differ(lines, shaded));
    QVERIFY(CoveredInRow(lines, row) < CoveredInRow(shaded, row) / 4);

    const std::string worked = dxftext::Header(4660, 176) +
                               dxftext::Face(1, {{{0, 3, 0}, {0, 0, 2}, {1, 0, 0}, {0, 3, 0}}}) + dxftext::Closing();
    QVERIFY(window_->OpenFile(Write("temp.dxf", worked)));
    QCOMPARE(window_->canvas()->model().faces.size(), 1u);
    QCOMPARE(window_->windowTitle(), QStringLiteral("temp - Vistel"));
    QCOMPARE(window_->faceCountText(), QStringLiteral("1 face"));
    QVERIFY(Differ(Picture(), shaded));
}

void MainWindowTest::turnsTheModelWithALeftDrag() {
    QVERIFY(window_->OpenFile(Write("cube.dxf", dxftext::Cube())));
    const QImage before = Picture();
    vistel::ModelCanvas* canvas = window_->canvas();
    const QPoint start = canvas->rect().center();
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(canvas, start + QPoint(60, 20));
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, start + QPoint(60, 20));
    QVERIFY(Differ(Picture(), before));
}

void MainWindowTest::zoomsFarInAndOutWithTheWheel() {
    QVERIFY(window_->OpenFile(Write("cube.dxf", dxftext::Cube())));
    vistel::ModelCanvas* canvas = window_->canvas();
    const QPointF centre = QRectF(canvas->rect()).center();
    const auto turnWheel = [&](int notches) {
        QWheelEvent wheel(centre, canvas->mapToGlobal(centre), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &wheel);
    };
    // So close that the corners lie millions of pixels out: the face in
    // front still fills the window.
    turnWheel(1000);
    const QImage near = Picture();
    QCOMPARE(near.pixel(2, 2), near.pixel(near.width() / 2, near.height() / 2));
    // So far that the cube shrinks to a dot: nothing is left at the corner.
    turnWheel(-2000);
    const QImage far = Picture();
    QVERIFY(far.pixel(2, far.height() / 2) == far.pixel(far.width() - 3, far.height() / 2));
}

void MainWindowTest::reportsAFileItCannotShow_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << "empty.dxf"
                           << ""
                           << "the file is empty";
    QTest::newRow("not a number") << "bad.dxf"
                                  << "  0\nSECTION\n  2\nENTITIES\n  0\n3DFACE\n  10\nx\n"
                                  << "line 8: group 10 needs a number, found \"x\"";
    QTest::newRow("missing") << "missing.dxf" << QString() << "the file does not exist";
}

void MainWindowTest::reportsAFileItCannotShow() {
    QFETCH(QString, name);
    QFETCH(QString, content);
    QFETCH(QString, reason);
    QVERIFY(window_->OpenFile(Write("shown.dxf", dxftext::Cube())));
    const QImage shown = Picture();

    const QString path = content.isNull() ? folder_.filePath(name) : Write(name, content.toStdString());
    QVERIFY(!window_->OpenFile(path));
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].contains(QDir::toNativeSeparators(path)), qPrintable(messages_[0]));
    QVERIFY2(messages_[0].contains(reason), qPrintable(messages_[0]));

    // The window goes on showing what it showed.
    QCOMPARE(window_->windowTitle(), QStringLiteral("shown - Vistel"));
    QCOMPARE(window_->canvas()->model().faces.size(), 12u);
    QCOMPARE(Picture(), shown);
}

void MainWindowTest::texturesFollowTheirPointsOntoTheScreen() {
    vistel::ScreenFace face;
    face.cornerCount = 3;
    face.corners = {{{10, 20, 0}, {110, 20, 0}, {10, 70, 0}, {}}};
    face.mapping = {{{0, 0}, {1, 0}, {0, 1}, {}}};
    const auto map = vistel::TextureToScreen(face, QSize(64, 32));
    QVERIFY(map);
    QCOMPARE(map->map(QPointF(0, 0)), QPointF(10, 20));
    QCOMPARE(map->map(QPointF(64, 0)), QPointF(110, 20));
    QCOMPARE(map->map(QPointF(0, 32)), QPointF(10, 70));
    // Texture points on one line leave nothing to map.
    face.mapping = {{{0, 0}, {0.5, 0}, {1, 0}, {}}};
    QVERIFY(!vistel::TextureToScreen(face, QSize(64, 32)));
}

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
