#pragma once

#include "platform/settings_store.h"

// Settings as string values (REG_SZ) in the current user's registry, under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, where the
// program has always kept them. Texts come back unit for unit, lone surrogates and embedded
// zeros included. A value of another type counts as missing. Windows only.
class Win32SettingsStore final : public SettingsStore
{
public:
    std::u16string GetSetting(const std::u16string& application, const std::u16string& section,
                              const std::u16string& key,
                              const std::u16string& defaultValue) override;
    // Throws PlatformError naming the value and carrying the system's text.
    void SaveSetting(const std::u16string& application, const std::u16string& section,
                     const std::u16string& key, const std::u16string& value) override;
};

// The key below HKEY_CURRENT_USER that holds `section` of `application`.
std::u16string settingsKeyPath(const std::u16string& application, const std::u16string& section);
