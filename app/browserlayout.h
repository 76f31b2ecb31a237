#pragma once
#include <QObject>
#include <QSettings>

class CMainFrame;
class CPallixView;
class PreviewPane;
class QSplitter;
class RecordTreeView;
class TreeFilter;

// The main window's working area: the Find box over the tree on the left,
// the preview on the right, split as the user left it. The window's size
// and place and the split are remembered between runs.
class BrowserLayout : public QObject {
    Q_OBJECT

public:
    BrowserLayout(CMainFrame& frame, CPallixView& view, RecordTreeView& tree, QSettings::Format settingsFormat);

    // After a new tree is built: the filter applies again, the preview and
    // the status bar show the new document.
    void AfterDocumentChange();
    // After commands on the document: what they changed shows, and the
    // status line they left stays.
    void AfterCommands();
    // Puts the window where it was at the last close, or the first time in
    // the middle of the screen.
    void RestoreWindow();

    PreviewPane& Preview() const { return *preview_; }
    TreeFilter& Filter() const { return *filter_; }
    QSplitter& Splitter() const { return *splitter_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SaveWindow() const;
    void ShowStatus() const;

    CMainFrame& frame_;
    CPallixView& view_;
    QSettings::Format settingsFormat_;
    QSplitter* splitter_;
    TreeFilter* filter_;
    PreviewPane* preview_;
};
