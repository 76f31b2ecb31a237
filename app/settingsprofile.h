#pragma once
#include <QSettings>

#include "framework/profile.h"

// The program's profile in QSettings under "Quon Data Manager"/"Pallix": the
// registry on Windows, an INI file elsewhere. Sections are groups.
class SettingsProfile : public fw::Profile {
public:
    explicit SettingsProfile(QSettings::Format format = QSettings::NativeFormat);

    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& fallback = {}) const override;
    void WriteString(const std::string& section, const std::string& entry, const std::string& value) override;

private:
    mutable QSettings settings_;
};
