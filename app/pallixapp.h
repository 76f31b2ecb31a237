#pragma once
#include <QPoint>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

#include "app/commandgate.h"
#include "app/qtuiservices.h"
#include "browser/pallixview.h"
#include "datafile/pallixdoc.h"
#include "framework/doctemplate.h"
#include "framework/profile.h"

class BlankPrinting;
class BrowserLayout;
class CMainFrame;
class DocumentState;
class ExportFolderDisplay;
class InstanceServer;
class RecordTreeModel;
class RecordTreeView;
class TreeIcons;
class TreeWidgetGeometry;
struct ShellCommand;

// How a start-up is set up; the tests keep everything away from the
// user's real profile, desktop registration and running program.
struct AppOptions {
    QSettings::Format settingsFormat = QSettings::NativeFormat;
    bool registerShell = true;
    // The data folder the Linux desktop registration writes below.
    QString dataHome;
    // The name the program listens under for files handed over; empty for none.
    QString instanceName;
};

// The application: start-up, the single document template with its frame,
// document and view, and the application's commands.
class CPallixApp {
public:
    enum class StartResult { run, finished, failed };

    explicit CPallixApp(AppOptions options);
    ~CPallixApp();
    CPallixApp(const CPallixApp&) = delete;
    CPallixApp& operator=(const CPallixApp&) = delete;

    // The start-up steps; `run` leaves the main window open.
    StartResult InitInstance(const QStringList& arguments);

    void OnAppAbout();
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    // Opens a file as Open does after its dialog (command line, drop, hand-over).
    bool OpenDocumentFile(const QString& file);

    CMainFrame& MainFrame() const { return *frame_; }
    RecordTreeView& TreeView() const { return *treeView_; }
    CPallixDoc& Document() const { return *document_; }
    CPallixView& View() const { return *view_; }
    fw::RecentFileList& RecentFiles() const { return *recentFiles_; }
    fw::Profile& Profile() const { return *profile_; }
    QtUiServices& Ui() const { return *ui_; }
    BrowserLayout& Layout() const { return *layout_; }
    DocumentState& State() const { return *state_; }
    ExportFolderDisplay& ExportFolder() const { return *exportFolder_; }

private:
    void CreateTemplate();
    void BindCommands();
    void RegisterWithShell();
    bool ProcessShellCommand(const ShellCommand& command);
    void ShowMainWindow();
    void OnHandOver(const QString& file);
    void OnFileSave();
    void OnFileSaveAs();
    void OnOpenRecentFile(size_t index);
    void AfterDocumentChange();
    void OnDroppedFile(const QString& file, QPoint at);
    // The tree's row at a point of the main window; null off the rows.
    fw::TreeItem* RowAt(QPoint framePoint) const;

    AppOptions options_;
    CommandGate gate_;
    std::unique_ptr<QtUiServices> ui_;
    std::unique_ptr<fw::Profile> profile_;
    std::unique_ptr<fw::RecentFileList> recentFiles_;
    std::unique_ptr<CPallixDoc> document_;
    std::unique_ptr<CPallixView> view_;
    std::unique_ptr<fw::SingleDocTemplate> template_;
    std::unique_ptr<TreeIcons> icons_;
    std::unique_ptr<RecordTreeModel> treeModel_;
    std::unique_ptr<CMainFrame> frame_;
    RecordTreeView* treeView_ = nullptr;
    BrowserLayout* layout_ = nullptr;
    DocumentState* state_ = nullptr;
    ExportFolderDisplay* exportFolder_ = nullptr;
    std::unique_ptr<TreeWidgetGeometry> geometry_;
    std::unique_ptr<BlankPrinting> printing_;
    std::unique_ptr<InstanceServer> instanceServer_;
};
