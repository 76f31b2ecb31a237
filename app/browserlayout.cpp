#include "app/browserlayout.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>
#include <memory>

#include "app/mainframe.h"
#include "app/previewpane.h"
#include "app/recordtreeview.h"
#include "app/treefilter.h"
#include "browser/pallixview.h"
#include "framework/apptext.h"

namespace {

const QString kGroup = QStringLiteral("Window");
const QString kGeometryKey = QStringLiteral("Geometry");
const QString kSplitterKey = QStringLiteral("Splitter");
// The preview is added beside the tree at the tree's own size.
constexpr int kPreviewWidth = 450;

}  // namespace

// Beside the settings of the program's profile.
static std::unique_ptr<QSettings> WindowSettings(QSettings::Format format) {
    auto settings = std::make_unique<QSettings>(format, QSettings::UserScope, QString::fromUtf8(fw::text::kRegistryKey),
                                                QString::fromUtf8(fw::text::kAppName));
    settings->beginGroup(kGroup);
    return settings;
}

BrowserLayout::BrowserLayout(CMainFrame& frame, CPallixView& view, RecordTreeView& tree,
                             QSettings::Format settingsFormat)
    : QObject(&frame),
      frame_(frame),
      view_(view),
      settingsFormat_(settingsFormat),
      splitter_(new QSplitter(Qt::Horizontal, &frame)) {
    splitter_->setObjectName(QStringLiteral("BrowserSplitter"));
    splitter_->setChildrenCollapsible(false);
    auto* left = new QWidget(splitter_);
    filter_ = new TreeFilter(tree, left);
    auto* column = new QVBoxLayout(left);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(filter_);
    column->addWidget(&tree, 1);
    preview_ = new PreviewPane(view, tree.Model(), splitter_);
    splitter_->addWidget(left);
    splitter_->addWidget(preview_);
    splitter_->setStretchFactor(1, 1);
    const int treeWidth = frame.width();
    frame.setCentralWidget(splitter_);
    frame.resize(treeWidth + kPreviewWidth, frame.height());
    splitter_->setSizes({treeWidth, kPreviewWidth});
    frame.installEventFilter(this);
    // Ctrl+F (the platform's Find keys) goes to the Find box.
    auto* find = new QAction(tr("Find"), &frame);
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, filter_, [filter = filter_] {
        filter->setFocus(Qt::ShortcutFocusReason);
        filter->selectAll();
    });
    frame.addAction(find);
}

void BrowserLayout::AfterDocumentChange() {
    AfterCommands();
    ShowStatus();
}

// The status line is the command's own: it says what the command did.
void BrowserLayout::AfterCommands() {
    if (!filter_->text().trimmed().isEmpty()) filter_->Apply();
    preview_->Refresh();
}

// A file without banks would show an empty tree without a word.
void BrowserLayout::ShowStatus() const {
    auto* message = frame_.statusBar()->findChild<QLabel*>(QStringLiteral("MessagePane"));
    if (!message) return;
    fw::TreeItem* root = view_.GetTreeCtrl().GetRootItem();
    const bool opened = !view_.GetDocument().GetPathName().empty();
    message->setText(opened && root && root->children.empty() ? tr("No model banks found in this file")
                                                              : QString::fromUtf8(fw::text::kReady));
}

// A window placed by the program, not left to the window manager: a box
// shown at start-up (a file not found) is centred over the window, and only
// a place known before the window shows puts it there.
void BrowserLayout::RestoreWindow() {
    const auto settings = WindowSettings(settingsFormat_);
    if (!frame_.restoreGeometry(settings->value(kGeometryKey).toByteArray())) {
        if (const QScreen* screen = frame_.screen())
            frame_.move(screen->availableGeometry().center() - frame_.rect().center());
    }
    splitter_->restoreState(settings->value(kSplitterKey).toByteArray());
}

void BrowserLayout::SaveWindow() const {
    const auto settings = WindowSettings(settingsFormat_);
    settings->setValue(kGeometryKey, frame_.saveGeometry());
    settings->setValue(kSplitterKey, splitter_->saveState());
}

bool BrowserLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &frame_ && event->type() == QEvent::Close) SaveWindow();
    return QObject::eventFilter(watched, event);
}
