#pragma once
#include <QMainWindow>
#include <QString>

#include "viewer/gui/errorreporter.h"

class QAction;
class QLabel;

namespace vistel {

class ModelCanvas;

// The viewer's window: the model canvas under a File and a View menu, the
// file's name in the caption.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(ErrorReporter reportError = ShowErrorBox, QWidget* parent = nullptr);

    // Shows the drawing in a file. A file that cannot be shown is reported
    // and the window keeps what it showed before. True when it was shown.
    bool OpenFile(const QString& path);
    ModelCanvas* canvas() const { return canvas_; }
    QAction* wireframeAction() const { return wireframeAction_; }
    // What the status bar says of the model's size.
    QString faceCountText() const;

private:
    void ChooseFile();
    void CreateMenus();

    ErrorReporter reportError_;
    ModelCanvas* canvas_;
    QAction* wireframeAction_ = nullptr;
    QLabel* faceCount_ = nullptr;
    QString currentPath_;
};

}  // namespace vistel
