#include "app/documentstate.h"

#include <QAction>
#include <QFileInfo>

#include "app/mainframe.h"
#include "app/qtuiservices.h"
#include "datafile/pallixdoc.h"
#include "framework/commandids.h"

namespace {

// The document tells nobody when it changes, and the view's commands, the
// frame's and a hand-over from a second start all can change it: a glance
// this often keeps the mark current at no noticeable cost.
constexpr int kWatchIntervalMs = 200;
constexpr const char* kRevertCaption = "Revert";

}  // namespace

DocumentState::DocumentState(CMainFrame& frame, CPallixDoc& document, QtUiServices& ui, Reopen reopen)
    : QObject(&frame),
      frame_(frame),
      document_(document),
      ui_(ui),
      reopen_(std::move(reopen)),
      revert_(new QAction(tr("&Revert"), &frame)) {
    revert_->setObjectName(QStringLiteral("RevertAction"));
    revert_->setStatusTip(tr("Discard the unsaved changes and load the file again from disk"));
    connect(revert_, &QAction::triggered, this, &DocumentState::Revert);
    frame_.AddMenuActionAfter(frame_.Action(cmd::kFileSaveAs), revert_);
    connect(&watch_, &QTimer::timeout, this, &DocumentState::Update);
    watch_.start(kWatchIntervalMs);
    Update();
}

void DocumentState::Update() {
    const bool modified = document_.IsModified();
    frame_.setWindowModified(modified);
    if (QAction* save = frame_.Action(cmd::kFileSave)) save->setEnabled(modified && frame_.HasHandler(cmd::kFileSave));
    // A new document has nothing to save: Save As would only be refused.
    if (QAction* saveAs = frame_.Action(cmd::kFileSaveAs))
        saveAs->setEnabled(document_.HasContentsToSave() && frame_.HasHandler(cmd::kFileSaveAs));
    revert_->setEnabled(modified && !document_.GetPathName().empty());
}

void DocumentState::Revert() {
    const QString file = QString::fromStdString(document_.GetPathName());
    if (!document_.IsModified() || file.isEmpty()) return;
    // Reopening a file that is gone would leave an empty document: the changes stay instead.
    if (!QFileInfo(file).isReadable()) {
        ui_.ShowMessage(
            tr("%1\ncannot be read any more. Your changes are kept; save them with Save As.").arg(file).toStdString(),
            kRevertCaption, fw::MessageStyle{fw::MessageButtons::ok, fw::MessageIcon::exclamation, true});
        return;
    }
    const auto answer = ui_.ShowMessage(
        tr("Discard your changes to %1 and load it again from disk?").arg(QFileInfo(file).fileName()).toStdString(),
        kRevertCaption, fw::MessageStyle{fw::MessageButtons::yesNo, fw::MessageIcon::question, true});
    if (answer != fw::MessageResult::yes) return;
    // The user chose to discard them: Open must not offer to save them first.
    document_.SetModifiedFlag(false);
    reopen_(file);
    Update();
}
