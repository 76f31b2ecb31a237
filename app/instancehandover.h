#pragma once
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>

// One running program per user and desktop session: a second start with a
// file hands the file to the running one, which opens it as the desktop's
// open request would.

// The name the running program listens under, one per user and session; a
// path in the user's runtime folder, else in a folder of the user's own with
// mode 0700 in the temporary folder; empty (no hand-over) without either.
QString InstanceServerName();

// Gives the file to a running program; false when none answers.
bool HandOverToRunningInstance(const QString& serverName, const QString& file);

class InstanceServer : public QObject {
    Q_OBJECT

public:
    using OpenRequest = std::function<void(const QString& file)>;
    InstanceServer(const QString& serverName, OpenRequest open, QObject* parent = nullptr);

    // Starts listening; false when another program answers on the name.
    bool Listen();

private:
    void Accept();

    QString serverName_;
    OpenRequest open_;
    QLocalServer server_;
};
