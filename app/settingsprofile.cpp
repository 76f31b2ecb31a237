#include "app/settingsprofile.h"

#include "framework/apptext.h"

namespace {

QString Key(const std::string& section, const std::string& entry) {
    return QString::fromStdString(section) + '/' + QString::fromStdString(entry);
}

}  // namespace

SettingsProfile::SettingsProfile(QSettings::Format format)
    : settings_(format, QSettings::UserScope, QString::fromUtf8(fw::text::kRegistryKey),
                QString::fromUtf8(fw::text::kAppName)) {}

std::string SettingsProfile::GetString(const std::string& section, const std::string& entry,
                                       const std::string& fallback) const {
    const QVariant value = settings_.value(Key(section, entry));
    return value.isValid() ? value.toString().toStdString() : fallback;
}

void SettingsProfile::WriteString(const std::string& section, const std::string& entry, const std::string& value) {
    settings_.setValue(Key(section, entry), QString::fromStdString(value));
    settings_.sync();
}
