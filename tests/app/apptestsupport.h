#pragma once
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/pallixapp.h"
#include "app/recordtreeview.h"

// Settings in the given folder and no desktop registration: how the tests,
// the screenshot and the benchmark start the program, so that none depends
// on or changes the user's settings.
AppOptions PrivateAppOptions(const QString& settingsFolder);

// The first item of that kind in the first bank that has one.
fw::TreeItem* FirstOfKind(fw::TreeControl& tree, uint16_t kind);

// Starts the program as the tests need it: settings in a temporary folder,
// no desktop registration, and a hand-over only under the name given.
std::unique_ptr<CPallixApp> StartApp(const QStringList& arguments, CPallixApp::StartResult expected,
                                     const QString& instanceName = {});

// Forgets every setting the tests' starts have written.
void ClearSettings();

// The bundled sample data file.
QString DemoFile();

// Where the label of a shown item lies in the tree's viewport.
QPoint LabelOf(const RecordTreeView& view, fw::TreeItem* item);

// Press and release of the right button, and the context-menu request the
// platform makes of them.
void RightClick(RecordTreeView& view, const QPoint& point);

// Answers the message boxes that come up while it is armed, and keeps their texts.
class MessageBoxAnswerer : public QObject {
public:
    explicit MessageBoxAnswerer(int button);
    QStringList texts;
    // The window each box showed over: its parent when that was on screen, else null.
    QList<QWidget*> shownOver;
    // Where the middle of each box was.
    QList<QPoint> centres;

private:
    QTimer timer_;
};

// Closes every popup menu that comes up, keeping what it offered:
// the title, then one line "ID<TAB>TEXT<TAB>enabled|disabled" per entry.
// With an entry's text in `choose`, picks that entry instead.
class PopupRecorder : public QObject {
public:
    PopupRecorder();
    QList<QStringList> menus;
    QString choose;
    // Called while each popup is open.
    std::function<void()> whileOpen;

private:
    QTimer timer_;
};
