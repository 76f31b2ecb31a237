#include "app/mainframe.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>

#include "app/artwork.h"
#include "app/lockkeyindicators.h"
#include "app/statusmessagepane.h"
#include "framework/apptext.h"
#include "framework/commandids.h"
#include "resources/shellresources.h"

namespace {

constexpr int kRecentFileCount = static_cast<int>(res::kRecentFileCount);

// The first local file among dropped data, or none.
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainFrame"));
    setWindowIcon(QIcon(LoadArtwork(QStringLiteral(":/pallix.xpm"))));
    resize(res::kMainWidth, res::kMainHeight);
    setAcceptDrops(true);
    setDockOptions(dockOptions() | QMainWindow::AllowNestedDocks);
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    AddAccelerators();
    AddFrameCommands();
    ShowDocumentTitle(QString::fromUtf8(fw::text::kUntitled));
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::MakeAction(int commandId, const QString& text) {
    QAction*& action = actions_[commandId];
    if (!action) {
        action = new QAction(text, this);
        action->setData(commandId);
        const res::CommandPrompt prompt = res::PromptFor(commandId);
        action->setStatusTip(QString::fromUtf8(prompt.statusText));
        if (*prompt.toolTip) action->setToolTip(QString::fromUtf8(prompt.toolTip));
        action->setEnabled(HasHandler(commandId));
        connect(action, &QAction::triggered, this, [this, commandId] { OnCommand(commandId); });
        // Keys work whether or not a menu or the toolbar shows the command.
        addAction(action);
    } else if (action->text().isEmpty()) {
        action->setText(text);
    }
    return action;
}

QAction* CMainFrame::Action(int commandId) const {
    const auto found = actions_.find(commandId);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::SetHandler(int commandId, Handler handler) {
    handlers_[commandId] = std::move(handler);
    if (QAction* action = Action(commandId)) action->setEnabled(true);
}

bool CMainFrame::OnCommand(int commandId) {
    const auto found = handlers_.find(commandId);
    if (found == handlers_.end()) return false;
    // The handler may replace itself; run a copy.
    const Handler handler = found->second;
    handler();
    return true;
}

void CMainFrame::CreateMenus() {
    for (const fw::PopupMenu& popup : res::MainMenu()) {
        QMenu* menu = menuBar()->addMenu(QString::fromStdString(popup.title));
        for (const fw::MenuItem& item : popup.items) {
            if (item.IsSeparator()) {
                menu->addSeparator();
                continue;
            }
            menu->addAction(MakeAction(item.id, QString::fromStdString(item.text)));
            // The recent files follow their placeholder.
            if (item.id == cmd::kFileMruFirst) {
                fileMenu_ = menu;
                for (int i = 1; i < kRecentFileCount; ++i) {
                    QAction* entry = MakeAction(cmd::kFileMruFirst + i, {});
                    entry->setVisible(false);
                    menu->addAction(entry);
                }
            }
        }
    }
    if (fileMenu_) connect(fileMenu_, &QMenu::aboutToShow, this, &CMainFrame::UpdateRecentFileMenu);
}

void CMainFrame::CreateToolBar() {
    toolBar_ = new QToolBar(QStringLiteral("Toolbar"), this);
    toolBar_->setObjectName(QStringLiteral("ToolBar"));
    toolBar_->setIconSize(QSize(16, 15));
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setMovable(true);
    toolBar_->setFloatable(true);
    int picture = 0;
    for (const int id : res::ToolbarButtons()) {
        if (id == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = MakeAction(id, QString::fromUtf8(res::PromptFor(id).toolTip));
        if (action->icon().isNull()) action->setIcon(ToolbarIcon(picture));
        toolBar_->addAction(action);
        ++picture;
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
}

void CMainFrame::CreateStatusBar() {
    auto* message = new StatusMessagePane(QString::fromUtf8(fw::text::kReady), statusBar());
    message->setObjectName(QStringLiteral("MessagePane"));
    // A fly-by text covers "Ready" while a command is pointed at.
    statusBar()->addWidget(message, 1);
    indicators_ = new LockKeyIndicators(*statusBar());
}

void CMainFrame::AddAccelerators() {
    std::map<int, QList<QKeySequence>> keys;
    for (const res::Accelerator& accelerator : res::Accelerators())
        keys[accelerator.commandId].append(
            QKeySequence(QString::fromUtf8(accelerator.keys), QKeySequence::PortableText));
    for (auto& [id, sequences] : keys) {
        QAction* action = MakeAction(id, QString::fromUtf8(res::PromptFor(id).toolTip));
        action->setShortcuts(sequences);
        action->setShortcutContext(Qt::WindowShortcut);
    }
}

// The frame's own standard commands: the bars and Exit.
void CMainFrame::AddFrameCommands() {
    const std::pair<int, QWidget*> bars[] = {{cmd::kViewToolbar, toolBar_}, {cmd::kViewStatusBar, statusBar()}};
    for (const auto& [id, bar] : bars) {
        QAction* action = Action(id);
        action->setCheckable(true);
        action->setChecked(true);
        SetHandler(id, [bar = bar, action = action] {
            bar->setVisible(bar->isHidden());
            action->setChecked(!bar->isHidden());
        });
    }
    connect(toolBar_, &QToolBar::visibilityChanged, Action(cmd::kViewToolbar), &QAction::setChecked);
    SetHandler(cmd::kAppExit, [this] { close(); });
}

void CMainFrame::ShowDocumentTitle(const QString& title) {
    // "[*]" is where Qt shows the window-modified mark.
    setWindowTitle(title + QStringLiteral("[*] - ") + QString::fromUtf8(fw::text::kWindowTitle));
}

void CMainFrame::ShowStatusText(const QString& text) {
    if (auto* message = statusBar()->findChild<QLabel*>(QStringLiteral("MessagePane"))) message->setText(text);
}

void CMainFrame::AddMenuActionAfter(QAction* after, QAction* action) {
    for (QAction* top : menuBar()->actions()) {
        QMenu* menu = top->menu();
        if (!menu || !after || !menu->actions().contains(after)) continue;
        const auto entries = menu->actions();
        const qsizetype next = entries.indexOf(after) + 1;
        menu->insertAction(next < entries.size() ? entries[next] : nullptr, action);
        return;
    }
}

void CMainFrame::UpdateRecentFileMenu() {
    const std::vector<std::string> files = recentFiles_ ? recentFiles_() : std::vector<std::string>();
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* entry = Action(cmd::kFileMruFirst + i);
        const bool used = static_cast<size_t>(i) < files.size();
        if (used) {
            const QString path = QDir::toNativeSeparators(QString::fromStdString(files[static_cast<size_t>(i)]));
            entry->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QString(path).replace('&', "&&")));
        } else if (i == 0) {
            entry->setText(QStringLiteral("Recent File"));
        }
        // An empty list leaves the disabled placeholder alone.
        entry->setVisible(used || i == 0);
        entry->setEnabled(used && HasHandler(cmd::kFileMruFirst + i));
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (canClose_ && !canClose_()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QString file = DroppedFile(event->mimeData());
    if (file.isEmpty() || !dropped_) return;
    event->acceptProposedAction();
    activateWindow();
    dropped_(file, event->position().toPoint());
}
