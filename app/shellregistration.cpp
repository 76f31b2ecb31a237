#include "shellregistration.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

#include "apptext.h"

#ifdef _WIN32
#include <shlobj.h>
#endif

namespace {

const QString kMimeType = QStringLiteral("application/x-quondata");
const QString kEntryName = QStringLiteral("pallix-quondata");

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

QByteArray MimeTypeXml() {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <mime-type type=\"%1\">\n"
               "    <comment>%2</comment>\n"
               "    <glob pattern=\"*%3\"/>\n"
               "  </mime-type>\n"
               "</mime-info>\n")
        .arg(kMimeType, QString::fromUtf8(fw::text::kFileTypeName), QString::fromUtf8(fw::text::kFileExtension))
        .toUtf8();
}

QByteArray DesktopEntry(const QString& programPath) {
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=%1\n"
               "Comment=%2\n"
               "Exec=%3\n"
               "MimeType=%4;\n"
               "Terminal=false\n")
        .arg(QString::fromUtf8(fw::text::kWindowTitle), QString::fromUtf8(fw::text::kFileTypeName),
             DesktopExecLine(programPath), kMimeType)
        .toUtf8();
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
    const QStringList tools[] = {{QStringLiteral("update-mime-database"), dataHome + QStringLiteral("/mime")},
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
    bool changed = WriteIfChanged(dataHome + "/mime/packages/" + kEntryName + ".xml", MimeTypeXml());
    changed |= WriteIfChanged(dataHome + "/applications/" + kEntryName + ".desktop", DesktopEntry(programPath));
    return changed;
#endif
}
