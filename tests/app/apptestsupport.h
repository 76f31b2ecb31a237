#pragma once
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "pallixapp.h"

// Starts the program as the tests need it: settings in a temporary folder,
// no desktop registration, no hand-over to a running program.
std::unique_ptr<CPallixApp> StartApp(const QStringList& arguments, CPallixApp::StartResult expected);

// Forgets every setting the tests' starts have written.
void ClearSettings();

// The bundled sample data file.
QString DemoFile();

// Answers the message boxes that come up while it is armed, and keeps their texts.
class MessageBoxAnswerer : public QObject {
public:
    explicit MessageBoxAnswerer(int button);
    QStringList texts;

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

private:
    QTimer timer_;
};
