#pragma once
#include <QString>

// Makes the desktop open ".bfp" files with this program. Written again at
// every start, but only what differs is rewritten. Returns whether anything
// changed. On Linux the files go below the given XDG data folder (normally
// ~/.local/share); on Windows the classes of the current user are used.
bool RegisterDocumentType(const QString& programPath, const QString& dataHome);

// Lets the desktop's caches see a changed registration, where their tools are.
void RefreshDesktopCaches(const QString& dataHome);

// The user's XDG data folder.
QString UserDataHome();

// The desktop entry's Exec line for the program, quoted as the desktop
// entry format wants it.
QString DesktopExecLine(const QString& programPath);

// Whether the program lies where a package or `cmake --install` puts it:
// in PREFIX/bin, with PREFIX/share/applications/pallix.desktop installed
// beside it. Such a program leaves the registration to the installed files;
// one run from a build or unpacked folder registers itself.
bool RunsFromInstalledLayout(const QString& programDir);
