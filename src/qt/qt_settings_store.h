#pragma once

#include "platform/settings_store.h"

#include <QString>

#include <memory>

class QSettings;

// SettingsStore on QSettings: the user's native store (organisation and application both the
// application's name), or one INI file. The section is the QSettings group. Every text comes
// back exactly as saved, lone surrogates included. Saving over a file that is no settings file
// moves it aside first, to the first free name of NAME.damaged, NAME.damaged.1, NAME.damaged.2...
class QtSettingsStore final : public SettingsStore
{
public:
    QtSettingsStore() = default;
    // One INI file holding the sections of a single application; for tests.
    explicit QtSettingsStore(QString iniPath);

    std::u16string GetSetting(const std::u16string& application, const std::u16string& section,
                              const std::u16string& key,
                              const std::u16string& defaultValue) override;
    void SaveSetting(const std::u16string& application, const std::u16string& section,
                     const std::u16string& key, const std::u16string& value) override;

private:
    std::unique_ptr<QSettings> open(const std::u16string& application) const;
    // Renames the damaged file of `settings` to the first free NAME.damaged[.N], replacing no
    // file, and opens a fresh one; throws PlatformError when it cannot be moved.
    std::unique_ptr<QSettings> replaceDamaged(std::unique_ptr<QSettings> settings,
                                              const std::u16string& application) const;

    QString m_iniPath;  // empty: the native store
};
