#pragma once
#include <QMainWindow>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class LockKeyIndicators;

// The main window: menus, toolbar and status bar made from the program's
// resources, one action per command id. A command is enabled exactly when
// someone has given it a handler.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    using Handler = std::function<void()>;
    // A file dropped at a point of the window (window coordinates).
    using FileDrop = std::function<void(const QString& file, QPoint at)>;
    using CloseQuery = std::function<bool()>;

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    void SetHandler(int commandId, Handler handler);
    bool HasHandler(int commandId) const { return handlers_.count(commandId) != 0; }
    // Runs a command as its menu entry, button or keys would; false when it has no handler.
    bool OnCommand(int commandId);
    QAction* Action(int commandId) const;
    QToolBar* ToolBar() const { return toolBar_; }

    // Where a dropped file goes, with the point it was dropped at.
    void SetDropHandler(FileDrop dropped) { dropped_ = std::move(dropped); }
    // Asked before the window closes; false keeps it open.
    void SetCloseQuery(CloseQuery query) { canClose_ = std::move(query); }
    // Where the entries of the recent-file list come from.
    void SetRecentFileSource(std::function<std::vector<std::string>()> source) { recentFiles_ = std::move(source); }

    // "<document> - Quon Data Manager".
    void ShowDocumentTitle(const QString& title);
    // What the last command did, in the status bar's message pane until
    // something else is said there.
    void ShowStatusText(const QString& text);
    void UpdateRecentFileMenu();
    // Puts an action of the program's own into the menu that holds `after`,
    // right after it.
    void AddMenuActionAfter(QAction* after, QAction* action);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* MakeAction(int commandId, const QString& text);
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void AddAccelerators();
    void AddFrameCommands();

    std::map<int, QAction*> actions_;
    std::map<int, Handler> handlers_;
    QToolBar* toolBar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    LockKeyIndicators* indicators_ = nullptr;
    FileDrop dropped_;
    CloseQuery canClose_;
    std::function<std::vector<std::string>()> recentFiles_;
};
