#include "app/exportfolderdisplay.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <filesystem>

#include "app/mainframe.h"
#include "app/qtuiservices.h"
#include "browser/pallixview.h"

namespace {

constexpr const char* kCaption = "Open Export Folder";
// A long path is cut in its middle to about this many characters, so that
// the window can still be made narrow; the tooltip has it whole.
constexpr int kPaneCharacters = 48;

}  // namespace

ExportFolderDisplay::ExportFolderDisplay(CMainFrame& frame, CPallixView& view, QtUiServices& ui, QAction* after)
    : QObject(&frame),
      view_(view),
      ui_(ui),
      open_(new QAction(tr("Open &Export Folder"), &frame)),
      pane_(new QLabel(frame.statusBar())) {
    open_->setObjectName(QStringLiteral("OpenExportFolderAction"));
    open_->setStatusTip(tr("Show the folder that exports of this file go to in the file manager"));
    connect(open_, &QAction::triggered, this, &ExportFolderDisplay::OpenFolder);
    frame.AddMenuActionAfter(after, open_);
    pane_->setObjectName(QStringLiteral("ExportFolderPane"));
    // After the message pane, left of the lock-key indicators.
    frame.statusBar()->insertPermanentWidget(1, pane_);
    Update();
}

void ExportFolderDisplay::Update() {
    const bool opened = !view_.GetDocument().GetPathName().empty();
    open_->setEnabled(opened);
    pane_->setVisible(opened);
    if (!opened) return;
    const QString folder = QDir::toNativeSeparators(ToQString(view_.ExportFolderInUse()));
    const QFontMetrics metrics = pane_->fontMetrics();
    pane_->setText(tr("Exports: %1")
                       .arg(metrics.elidedText(folder, Qt::ElideMiddle, metrics.averageCharWidth() * kPaneCharacters)));
    pane_->setToolTip(folder);
}

void ExportFolderDisplay::OpenFolder() {
    const QString file = QString::fromStdString(view_.GetDocument().GetPathName());
    if (file.isEmpty()) return;
    const auto folder = view_.ExportFolderInUse();
    const QString shown = QDir::toNativeSeparators(ToQString(folder));
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        const QString name = QFileInfo(file).fileName();
        Tell(tr("Nothing has been exported from %1 yet.\nExports will go to\n%2").arg(name, shown), false);
        return;
    }
    if (!ui_.ShellOpen(folder)) {
        Tell(tr("No file manager could be started to show\n%1").arg(shown), true);
        return;
    }
    // The platform hands the folder on without learning whether a file
    // manager took it: the status line says where it is in any case.
    ui_.ShowStatus(tr("The export folder, %1, was handed to the file manager").arg(shown).toStdString());
}

void ExportFolderDisplay::Tell(const QString& text, bool failure) {
    const auto icon = failure ? fw::MessageIcon::exclamation : fw::MessageIcon::information;
    ui_.ShowMessage(text.toStdString(), kCaption, fw::MessageStyle{fw::MessageButtons::ok, icon, true});
}
