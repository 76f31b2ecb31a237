#include "viewer/gui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <filesystem>

#include "viewer/dxf/dxffile.h"
#include "viewer/gui/modelcanvas.h"

namespace vistel {
namespace {

const QString kProgramName = QStringLiteral("Vistel");

std::filesystem::path ToPath(const QString& path) { return std::filesystem::path(path.toStdU16String()); }

// Reading a large drawing takes a moment; the cursor says so.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

MainWindow::MainWindow(ErrorReporter reportError, QWidget* parent)
    : QMainWindow(parent), reportError_(std::move(reportError)), canvas_(new ModelCanvas(this)) {
    setCentralWidget(canvas_);
    setWindowTitle(kProgramName);
    CreateMenus();
    resize(800, 640);
    statusBar()->showMessage(tr("Left drag: turn   Right or middle drag: move   Wheel: zoom"));
    // A permanent pane: menu prompts pass over it without wiping it out.
    faceCount_ = new QLabel(statusBar());
    faceCount_->setObjectName(QStringLiteral("FaceCount"));
    statusBar()->addPermanentWidget(faceCount_);
}

QString MainWindow::faceCountText() const { return faceCount_->text(); }

void MainWindow::CreateMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open..."), QKeySequence::Open, this, &MainWindow::ChooseFile);
    file->addSeparator();
    file->addAction(tr("E&xit"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    wireframeAction_ = view->addAction(tr("&Wireframe"), QKeySequence(Qt::Key_W), canvas_, &ModelCanvas::SetWireframe);
    wireframeAction_->setCheckable(true);
    view->addAction(tr("&Fit to View"), QKeySequence(Qt::Key_F), canvas_, &ModelCanvas::FitToView);
}

void MainWindow::ChooseFile() {
    const QString folder = currentPath_.isEmpty() ? QString() : QFileInfo(currentPath_).absolutePath();
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Open Drawing"), folder, tr("DXF drawings (*.dxf *.DXF);;All files (*)"));
    if (!path.isEmpty()) OpenFile(path);
}

bool MainWindow::OpenFile(const QString& path) {
    dxf::ParseResult result;
    {
        WaitCursor wait;
        result = dxf::ReadDxfFile(ToPath(path));
    }
    if (!result.ok()) {
        reportError_(this, tr("Cannot show the drawing \"%1\":\n%2")
                               .arg(QDir::toNativeSeparators(path), QString::fromStdString(result.error->Describe())));
        return false;
    }
    currentPath_ = path;
    const auto faceCount = static_cast<int>(result.model.faces.size());
    canvas_->SetModel(MeshFromDxf(result.model));
    // View Model names its drawing after the model.
    setWindowTitle(QStringLiteral("%1 - %2").arg(QFileInfo(path).completeBaseName(), kProgramName));
    faceCount_->setText(faceCount == 1 ? tr("1 face") : tr("%1 faces").arg(faceCount));
    return true;
}

}  // namespace vistel
