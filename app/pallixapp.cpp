#include "app/pallixapp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/aboutbox.h"
#include "app/artwork.h"
#include "app/blankprinting.h"
#include "app/browserlayout.h"
#include "app/documentstate.h"
#include "app/exportfolderdisplay.h"
#include "app/instancehandover.h"
#include "app/mainframe.h"
#include "app/recordtreemodel.h"
#include "app/recordtreeview.h"
#include "app/settingsprofile.h"
#include "app/shellcommand.h"
#include "app/shellregistration.h"
#include "app/treewidgetgeometry.h"
#include "framework/apptext.h"
#include "framework/commandids.h"
#include "resources/shellresources.h"

namespace {

constexpr const char* kInstallSection = "INSTALL";
constexpr const char* kInstallEntry = "DIR";

QString ProgramPath() { return QDir::toNativeSeparators(QCoreApplication::applicationFilePath()); }

}  // namespace

// The artwork is linked in from a static library, which Qt registers only when asked.
static void LoadResources() { Q_INIT_RESOURCE(pallix); }

CPallixApp::CPallixApp(AppOptions options) : options_(std::move(options)), ui_(std::make_unique<QtUiServices>()) {
    LoadResources();
}

CPallixApp::~CPallixApp() {
    // The widgets go first: they still point at the model and the view.
    instanceServer_.reset();
    frame_.reset();
}

CPallixApp::StartResult CPallixApp::InitInstance(const QStringList& arguments) {
    // Settings live under "Quon Data Manager"/"Pallix", with four recent files.
    profile_ = std::make_unique<SettingsProfile>(options_.settingsFormat);
    recentFiles_ = std::make_unique<fw::RecentFileList>(*profile_, res::kRecentFileCount);
    CreateTemplate();
    RegisterWithShell();

    QString error;
    const auto command = ParseShellCommand(arguments, error);
    if (!command) {
        ui_->ShowMessage(error.toStdString(), fw::text::kAppName,
                         fw::MessageStyle{fw::MessageButtons::ok, fw::MessageIcon::exclamation, true});
        return StartResult::failed;
    }
    if (command->kind == ShellCommand::Kind::filePrint || command->kind == ShellCommand::Kind::filePrintTo)
        return ProcessShellCommand(*command) ? StartResult::finished : StartResult::failed;

    // The window shows first, so that a file that does not open says so over
    // it and leaves the program running with a new document.
    template_->OnFileNew();
    AfterDocumentChange();
    layout_->RestoreWindow();
    ShowMainWindow();
    gate_.Run([this, &command] { ProcessShellCommand(*command); });
    profile_->WriteString(kInstallSection, kInstallEntry, ProgramPath().toStdString());
    return StartResult::run;
}

void CPallixApp::ShowMainWindow() {
    frame_->show();
    frame_->raise();
    // Keys go to the tree from the start.
    treeView_->setFocus();
}

void CPallixApp::CreateTemplate() {
    document_ = std::make_unique<CPallixDoc>(*ui_);
    document_->SetRecentFileList(recentFiles_.get());
    view_ =
        std::make_unique<CPallixView>(*document_, *ui_, [] { return ToPath(QCoreApplication::applicationFilePath()); });
    view_->Exports().KeepInDataFolder();
    template_ = std::make_unique<fw::SingleDocTemplate>(*document_, *view_, *ui_);

    icons_ = std::make_unique<TreeIcons>([view = view_.get()] { return view->ImageList(); });
    treeModel_ = std::make_unique<RecordTreeModel>(view_->GetTreeCtrl(), *icons_);
    frame_ = std::make_unique<CMainFrame>();
    ui_->SetOwner(frame_.get());
    treeView_ = new RecordTreeView(*view_, *treeModel_, gate_, frame_.get());
    layout_ = new BrowserLayout(*frame_, *view_, *treeView_, options_.settingsFormat);
    gate_.SetAfterCommands([this] { layout_->AfterCommands(); });
    geometry_ = std::make_unique<TreeWidgetGeometry>(*treeView_);
    view_->GetTreeCtrl().SetGeometry(geometry_.get());
    printing_ = std::make_unique<BlankPrinting>(frame_.get());
    BindCommands();
    state_ =
        new DocumentState(*frame_, *document_, *ui_, [this](const QString& file) { return OpenDocumentFile(file); });
    exportFolder_ = new ExportFolderDisplay(*frame_, *view_, *ui_, state_->RevertAction());
}

void CPallixApp::BindCommands() {
    CMainFrame& frame = *frame_;
    frame.SetHandler(cmd::kAppAbout, [this] { OnAppAbout(); });
    // Whatever replaces or saves the document waits for the commands in progress.
    frame.SetHandler(cmd::kFileNew, [this] { gate_.Run([this] { OnFileNew(); }); });
    frame.SetHandler(cmd::kFileOpen, [this] { gate_.Run([this] { OnFileOpen(); }); });
    frame.SetHandler(cmd::kFilePrintSetup, [this] { OnFilePrintSetup(); });
    frame.SetHandler(cmd::kFileSave, [this] { gate_.Run([this] { OnFileSave(); }); });
    frame.SetHandler(cmd::kFileSaveAs, [this] { gate_.Run([this] { OnFileSaveAs(); }); });
    frame.SetHandler(cmd::kFilePrint, [this] { printing_->Print(); });
    frame.SetHandler(cmd::kFilePrintDirect, [this] { printing_->PrintDirect(); });
    frame.SetHandler(cmd::kFilePrintPreview, [this] { printing_->PrintPreview(); });
    for (size_t i = 0; i < res::kRecentFileCount; ++i)
        frame.SetHandler(cmd::kFileMruFirst + static_cast<int>(i),
                         [this, i] { gate_.Run([this, i] { OnOpenRecentFile(i); }); });
    frame.SetRecentFileSource([this] { return recentFiles_->Files(); });
    // The row is looked up when the drop's turn comes: a request that waits
    // may find another tree.
    frame.SetDropHandler(
        [this](const QString& file, QPoint at) { gate_.Run([this, file, at] { OnDroppedFile(file, at); }); });
    // A command in progress still needs the document: the window stays.
    frame.SetCloseQuery([this] { return !gate_.Busy() && template_->SaveModified(); });
    frame.UpdateRecentFileMenu();
}

// The desktop learns that ".bfp" files open here, and a second start with a
// file reaches this program.
void CPallixApp::RegisterWithShell() {
    if (options_.registerShell) {
        const QString dataHome = options_.dataHome.isEmpty() ? UserDataHome() : options_.dataHome;
        if (RegisterDocumentType(QCoreApplication::applicationFilePath(), dataHome)) RefreshDesktopCaches(dataHome);
    }
    if (options_.instanceName.isEmpty()) return;
    instanceServer_ = std::make_unique<InstanceServer>(
        options_.instanceName, [this](const QString& file) { gate_.Run([this, file] { OnHandOver(file); }); });
    instanceServer_->Listen();
}

void CPallixApp::OnHandOver(const QString& file) {
    if (frame_->isMinimized()) frame_->showNormal();
    frame_->raise();
    frame_->activateWindow();
    OpenDocumentFile(file);
}

bool CPallixApp::ProcessShellCommand(const ShellCommand& command) {
    switch (command.kind) {
        case ShellCommand::Kind::fileNew: return true;  // every start begins with a new document
        case ShellCommand::Kind::fileOpen: return OpenDocumentFile(command.file);
        case ShellCommand::Kind::filePrint:
        case ShellCommand::Kind::filePrintTo:
            if (!OpenDocumentFile(command.file)) return false;
            printing_->PrintDirect(command.printer);
            return true;
    }
    return false;
}

void CPallixApp::OnAppAbout() {
    CAboutBox about(frame_.get());
    about.exec();
}

void CPallixApp::OnFileNew() {
    template_->OnFileNew();
    AfterDocumentChange();
}

void CPallixApp::OnFileOpen() {
    // The dialog starts where the last file opened or saved lies.
    const auto& recent = recentFiles_->Files();
    const QString lastFolder = recent.empty() ? QString() : QFileInfo(QString::fromStdString(recent.front())).path();
    const auto path = ui_->AskOpenPath(lastFolder);
    if (path) OpenDocumentFile(ToQString(*path));
}

void CPallixApp::OnFilePrintSetup() { printing_->PageSetup(); }

bool CPallixApp::OpenDocumentFile(const QString& file) {
    const bool opened = template_->OpenDocumentFile(QFileInfo(file).absoluteFilePath().toStdString());
    AfterDocumentChange();
    return opened;
}

// Only data files open from a drop: a picture or a model dropped by mistake
// would otherwise be read as a data file and show as an empty tree. Dropped
// on a row, anything else is offered to that item as an import.
void CPallixApp::OnDroppedFile(const QString& file, QPoint at) {
    const QString extension = QString::fromUtf8(fw::text::kFileExtension);
    if (file.endsWith(extension, Qt::CaseInsensitive)) {
        OpenDocumentFile(file);
        return;
    }
    if (fw::TreeItem* row = RowAt(at)) {
        view_->OnDropFile(row, ToPath(file));
        return;
    }
    ui_->ShowMessage(
        QObject::tr("%1 is not a Quon data file (%2), so it was not opened.\nTo import a picture or a model, drop "
                    "it on the bitmap or the model it is for.")
            .arg(QFileInfo(file).fileName(), extension)
            .toStdString(),
        fw::text::kAppName, fw::MessageStyle{fw::MessageButtons::ok, fw::MessageIcon::exclamation, true});
}

fw::TreeItem* CPallixApp::RowAt(QPoint framePoint) const {
    QWidget* rows = treeView_->viewport();
    const QPoint point = rows->mapFrom(frame_.get(), framePoint);
    return rows->rect().contains(point) ? RecordTreeModel::ItemAt(treeView_->indexAt(point)) : nullptr;
}

void CPallixApp::OnFileSave() {
    template_->OnFileSave();
    AfterDocumentChange();
}

void CPallixApp::OnFileSaveAs() {
    template_->OnFileSaveAs();
    AfterDocumentChange();
}

void CPallixApp::OnOpenRecentFile(size_t index) {
    const auto& files = recentFiles_->Files();
    if (index >= files.size()) return;
    const QString file = QString::fromStdString(files[index]);
    // A file that is gone leaves the list; a cancelled save prompt does not.
    if (!OpenDocumentFile(file) && !QFile(file).open(QIODevice::ReadOnly)) recentFiles_->Remove(index);
}

void CPallixApp::AfterDocumentChange() {
    frame_->ShowDocumentTitle(QString::fromStdString(document_->GetTitle()));
    frame_->UpdateRecentFileMenu();
    layout_->AfterDocumentChange();
    state_->Update();
    exportFolder_->Update();
}
