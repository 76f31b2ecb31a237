#pragma once
#include <QObject>

class CMainFrame;
class CPallixView;
class QAction;
class QLabel;
class QtUiServices;

// The export folder in use, in the window: its path at the right of the
// status bar, and File > Open Export Folder, which shows it in the file
// manager.
class ExportFolderDisplay : public QObject {
    Q_OBJECT

public:
    // The menu entry follows `after` in its menu.
    ExportFolderDisplay(CMainFrame& frame, CPallixView& view, QtUiServices& ui, QAction* after);

    // After the document changed: a new one has no folder, an opened or
    // renamed one its own.
    void Update();
    void OpenFolder();

    QAction* OpenAction() const { return open_; }
    QLabel* Pane() const { return pane_; }

private:
    void Tell(const QString& text, bool failure);

    CPallixView& view_;
    QtUiServices& ui_;
    QAction* open_;
    QLabel* pane_;
};
