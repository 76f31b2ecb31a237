#include "app/shellregistration.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

#include "framework/apptext.h"

#ifdef _WIN32
#include <shlobj.h>
#endif

// The files live in this static library; the linker keeps them only when asked.
static void LoadShellFiles() { Q_INIT_RESOURCE(shellfiles); }

namespace {

const QString kEntryName = QStringLiteral("pallix-quondata");
const QString kInstalledEntry = QStringLiteral("pallix.desktop");

// Writes the file only when its content differs; true when it was written.
bool WriteIfChanged(const QString& path, const QByteArray& content) {
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content) return false;
    existing.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(content);
    return file.commit();
}

// The package installs the same two files; here the entry names this very
// program instead of one found on the PATH.
QByteArray ShellFile(const QString& name) {
    [[maybe_unused]] static const bool loaded = (LoadShellFiles(), true);
    QFile file(QStringLiteral(":/shell/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray DesktopEntry(const QString& programPath) {
    const QByteArray exec = DesktopExecLine(programPath).toUtf8();
    return ShellFile(QStringLiteral("pallix.desktop.in")).replace("@PALLIX_EXEC@", exec);
}

#ifdef _WIN32
bool SetIfChanged(QSettings& classes, const QString& key, const QString& value) {
    if (classes.value(key).toString() == value) return false;
    classes.setValue(key, value);
    return true;
}

bool RegisterWithWindows(const QString& programPath) {
    QSettings classes(QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes"), QSettings::NativeFormat);
    const QString program = '"' + QDir::toNativeSeparators(programPath) + '"';
    const QString type = QString::fromUtf8(fw::text::kFileTypeId);
    bool changed = SetIfChanged(classes, QString::fromUtf8(fw::text::kFileExtension) + "/.", type);
    changed |= SetIfChanged(classes, type + "/.", QString::fromUtf8(fw::text::kFileTypeName));
    changed |= SetIfChanged(classes, type + "/DefaultIcon/.", program + ",1");
    changed |= SetIfChanged(classes, type + "/shell/open/command/.", program + " \"%1\"");
    changed |= SetIfChanged(classes, type + "/shell/print/command/.", program + " /p \"%1\"");
    changed |= SetIfChanged(classes, type + "/shell/printto/command/.", program + " /pt \"%1\" \"%2\" \"%3\" \"%4\"");
    classes.sync();
    return changed;
}
#endif

}  // namespace

QString DesktopExecLine(const QString& programPath) {
    // Inside quotes the desktop entry format escapes " ` $ and \ with a
    // backslash, a per cent sign is doubled, and the entry's own string rules
    // then double every backslash.
    QString quoted;
    for (const QChar c : programPath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted.replace('\\', QStringLiteral("\\\\"));
    return '"' + quoted + QStringLiteral("\" %f");
}

void RefreshDesktopCaches(const QString& dataHome) {
#ifdef _WIN32
    Q_UNUSED(dataHome);
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
#else
    const QStringList tools[] = {
        {QStringLiteral("update-mime-database"), dataHome + QStringLiteral("/mime")},
        {QStringLiteral("update-desktop-database"), dataHome + QStringLiteral("/applications")}};
    for (const QStringList& tool : tools) {
        const QString program = QStandardPaths::findExecutable(tool.front());
        if (!program.isEmpty()) QProcess::startDetached(program, {tool.back()});
    }
#endif
}

QString UserDataHome() { return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation); }

bool RegisterDocumentType(const QString& programPath, const QString& dataHome) {
#ifdef _WIN32
    Q_UNUSED(dataHome);
    return RegisterWithWindows(programPath);
#else
    if (dataHome.isEmpty()) return false;
    bool changed = WriteIfChanged(dataHome + "/mime/packages/" + kEntryName + ".xml",
                                  ShellFile(QStringLiteral("quondata-mime.xml")));
    changed |= WriteIfChanged(dataHome + "/applications/" + kEntryName + ".desktop", DesktopEntry(programPath));
    return changed;
#endif
}

bool RunsFromInstalledLayout(const QString& programDir) {
    const QDir bin(programDir);
    return bin.dirName() == QLatin1String("bin") &&
           QFileInfo::exists(bin.filePath(QStringLiteral("../share/applications/") + kInstalledEntry));
}
