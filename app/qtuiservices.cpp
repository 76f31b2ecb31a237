#include "app/qtuiservices.h"

#include <algorithm>

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QScreen>
#include <QTreeView>
#include <QUrl>

#include "app/mainframe.h"
#include "framework/apptext.h"
#include "framework/privatetemp.h"

namespace {

// The filter of the template, then every file, as the file dialogs offer them.
QString FileFilter() { return QString::fromUtf8(fw::text::kFileFilterName) + QStringLiteral(";;All Files (*)"); }

// Qt's own file dialog (where the platform has none) starts its detail
// columns at fixed widths that cut names, sizes and dates; they follow their
// contents instead, as the folder's entries come in, in a dialog wide enough
// for a long name beside its size, type and date.
void SizeColumnsToContents(QFileDialog& dialog) {
    constexpr int kWidth = 960;
    const QList<QTreeView*> details = dialog.findChildren<QTreeView*>();
    for (QTreeView* view : details) {
        view->header()->setStretchLastSection(false);
        view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    }
    const QScreen* screen = dialog.parentWidget() ? dialog.parentWidget()->screen() : dialog.screen();
    if (!details.isEmpty() && screen)
        dialog.resize(std::min(kWidth, screen->availableGeometry().width()), dialog.height());
}

QMessageBox::Icon IconOf(fw::MessageIcon icon) {
    switch (icon) {
        case fw::MessageIcon::information: return QMessageBox::Information;
        case fw::MessageIcon::exclamation: return QMessageBox::Warning;
        case fw::MessageIcon::question: return QMessageBox::Question;
        default: return QMessageBox::NoIcon;
    }
}

fw::MessageResult ResultOf(int button) {
    switch (button) {
        case QMessageBox::Yes: return fw::MessageResult::yes;
        case QMessageBox::No: return fw::MessageResult::no;
        case QMessageBox::Cancel: return fw::MessageResult::cancel;
        default: return fw::MessageResult::ok;
    }
}

}  // namespace

// A progress dialog that appears once the job has run half a second. Events
// are let through only while it is up: before that no other window takes
// input, so no second command can start in the middle of the job. A question
// asked during the job owns the screen: the dialog steps aside while it is
// open, and its half second starts again after the answer.
class DialogProgress : public fw::ProgressReport {
public:
    static constexpr int kShownAfterMs = 500;
    static constexpr int kScale = 1000;

    DialogProgress(QtUiServices& ui, const std::string& title, uint64_t total)
        : dialog_(QString::fromStdString(title), QStringLiteral("Cancel"), 0, kScale, ui.Owner()),
          ui_(ui),
          outer_(ui.openProgress_),
          total_(total) {
        dialog_.setWindowTitle(QString::fromUtf8(fw::text::kAppName));
        dialog_.setWindowModality(Qt::ApplicationModal);
        // Its own clock would show it over a question the job is waiting on;
        // Step shows it instead, only while the job runs.
        dialog_.reset();
        dialog_.setAutoReset(false);
        dialog_.setAutoClose(false);
        clock_.start();
        ui_.openProgress_ = this;
    }
    ~DialogProgress() override {
        ui_.openProgress_ = outer_;
        ShowArrow(false);
    }

    bool Step(uint64_t done) override {
        if (!dialog_.isVisible()) {
            if (clock_.elapsed() < kShownAfterMs) return true;
            // The wait cursor would hide the Cancel button's use.
            ShowArrow(QGuiApplication::overrideCursor() != nullptr);
            dialog_.show();
        }
        dialog_.setValue(total_ ? int(std::min<uint64_t>(done, total_) * kScale / total_) : kScale);
        QCoreApplication::processEvents();
        return !dialog_.wasCanceled();
    }

    // While a question is open: the dialog out of its way, and a fresh half
    // second once it is answered, so that the answer is seen to take effect.
    void StepAside() {
        dialog_.hide();
        ShowArrow(false);
    }
    void ComeBack() { clock_.start(); }

private:
    void ShowArrow(bool shown) {
        if (shown == arrowShown_) return;
        if (shown)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
        else
            QGuiApplication::restoreOverrideCursor();
        arrowShown_ = shown;
    }

    QProgressDialog dialog_;
    QtUiServices& ui_;
    DialogProgress* outer_;
    QElapsedTimer clock_;
    uint64_t total_;
    bool arrowShown_ = false;
};

QtUiServices::QuestionOverProgress::QuestionOverProgress(DialogProgress* progress) : progress_(progress) {
    if (progress_) progress_->StepAside();
}

QtUiServices::QuestionOverProgress::~QuestionOverProgress() {
    if (progress_) progress_->ComeBack();
}

QString ToQString(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.wstring());
#else
    return QString::fromLocal8Bit(path.string());
#endif
}

std::filesystem::path ToPath(const QString& path) {
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(path.toLocal8Bit().toStdString());
#endif
}

fw::MessageResult QtUiServices::ShowMessage(const std::string& text, const std::string& caption,
                                            fw::MessageStyle style) {
    // An empty caption is the program's name, as the platform's message box has it.
    const QString title = QString::fromStdString(caption.empty() ? fw::text::kAppName : caption);
    QMessageBox box(IconOf(style.icon), title, QString::fromStdString(text), QMessageBox::NoButton, owner_);
    if (style.buttons == fw::MessageButtons::yesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
    } else if (style.buttons == fw::MessageButtons::yesNo) {
        // Closing the box is No: the safe answer of every yes-or-no question here.
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    // Task modal: every window of the program waits for the answer.
    box.setWindowModality(style.taskModal ? Qt::ApplicationModal : Qt::WindowModal);
    // A wait cursor left on would hide that an answer is wanted.
    const QuestionOverProgress aside(openProgress_);
    const bool waiting = QGuiApplication::overrideCursor() != nullptr;
    if (waiting) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    if (waiting) QGuiApplication::restoreOverrideCursor();
    return ResultOf(answer);
}

void QtUiServices::BeginWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }

void QtUiServices::EndWaitCursor() { QGuiApplication::restoreOverrideCursor(); }

// The program handed a file may read it after this one ended: its
// temporary folder then stays.
bool QtUiServices::ShellOpen(const std::filesystem::path& file) {
    const bool opened = QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(file)));
    if (opened) fw::KeepPrivateTemporaryFolder();
    return opened;
}

bool QtUiServices::StartProgram(const std::filesystem::path& program, const std::string& parameter,
                                const std::filesystem::path& workingDirectory) {
    const bool started =
        QProcess::startDetached(ToQString(program), {QString::fromStdString(parameter)}, ToQString(workingDirectory));
    if (started) fw::KeepPrivateTemporaryFolder();
    return started;
}

void QtUiServices::ShowStatus(const std::string& text) {
    if (auto* frame = qobject_cast<CMainFrame*>(owner_.data())) frame->ShowStatusText(QString::fromStdString(text));
}

int QtUiServices::TrackPopupMenu(const fw::PopupMenu& menu, fw::Point screen, const fw::CommandTarget& target) {
    QMenu popup(QString::fromStdString(menu.title), owner_);
    for (const fw::MenuItem& entry : menu.items) {
        if (entry.IsSeparator()) {
            popup.addSeparator();
            continue;
        }
        QAction* action = popup.addAction(QString::fromStdString(entry.text));
        action->setData(entry.id);
        action->setEnabled(target.HasHandler(entry.id));
    }
    const QAction* chosen = popup.exec(QPoint(screen.x, screen.y));
    return chosen ? chosen->data().toInt() : 0;
}

std::optional<std::filesystem::path> QtUiServices::AskSavePath(const std::filesystem::path& suggested) {
    const QuestionOverProgress aside(openProgress_);
    QFileDialog dialog(owner_, QStringLiteral("Save As"), QString(), FileFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromUtf8(fw::text::kFileExtension).mid(1));
    dialog.selectFile(ToQString(suggested));
    SizeColumnsToContents(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return ToPath(dialog.selectedFiles().front());
}

std::unique_ptr<fw::ProgressReport> QtUiServices::OpenProgress(const std::string& title, uint64_t total) {
    return std::make_unique<DialogProgress>(*this, title, total);
}

std::optional<std::filesystem::path> QtUiServices::AskOpenPath(const QString& startFolder) {
    QFileDialog dialog(owner_, QStringLiteral("Open"), QDir(startFolder).exists() ? startFolder : QString(),
                       FileFilter());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString::fromUtf8(fw::text::kFileExtension).mid(1));
    SizeColumnsToContents(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return ToPath(dialog.selectedFiles().front());
}

// The choice starts at the one made last time under the same caption (the
// format of the last export, say), and the box is wide enough for its title.
std::optional<size_t> QtUiServices::AskChoice(const std::string& caption, const std::string& question,
                                              const std::vector<std::string>& options) {
    QStringList items;
    for (const std::string& option : options) items << QString::fromStdString(option);
    const QuestionOverProgress aside(openProgress_);
    QInputDialog dialog(owner_);
    dialog.setWindowTitle(QString::fromStdString(caption));
    dialog.setLabelText(QString::fromStdString(question));
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    const auto last = lastChoices_.find(caption);
    if (last != lastChoices_.end() && last->second < size_t(items.size()))
        dialog.setTextValue(items[qsizetype(last->second)]);
    // Room for the title beside the window's buttons.
    constexpr int kTitleMargin = 160;
    dialog.setMinimumWidth(dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) + kTitleMargin);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const auto chosen = size_t(items.indexOf(dialog.textValue()));
    lastChoices_[caption] = chosen;
    return chosen;
}
