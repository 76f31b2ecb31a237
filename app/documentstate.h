#pragma once
#include <QObject>
#include <QTimer>
#include <functional>

class CMainFrame;
class CPallixDoc;
class QAction;
class QtUiServices;

// Shows whether the document has unsaved changes: the window-modified mark
// in the title, Save enabled only then, and File > Revert, which reloads the
// file from disk after asking.
class DocumentState : public QObject {
    Q_OBJECT

public:
    using Reopen = std::function<bool(const QString& file)>;

    DocumentState(CMainFrame& frame, CPallixDoc& document, QtUiServices& ui, Reopen reopen);

    // Brings the title and the commands up to date with the document.
    void Update();
    void Revert();
    QAction* RevertAction() const { return revert_; }

private:
    CMainFrame& frame_;
    CPallixDoc& document_;
    QtUiServices& ui_;
    Reopen reopen_;
    QAction* revert_;
    QTimer watch_;
};
