#pragma once

#include <string>

// The per-user settings store: string values by application, section and key. Values are
// never deleted.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    // The stored value, or `defaultValue` when the key holds none. Never throws.
    virtual std::u16string GetSetting(const std::u16string& application,
                                      const std::u16string& section, const std::u16string& key,
                                      const std::u16string& defaultValue) = 0;
    // Creates or overwrites the value and writes it through to the store.
    // Throws PlatformError when the store cannot be written.
    virtual void SaveSetting(const std::u16string& application, const std::u16string& section,
                             const std::u16string& key, const std::u16string& value) = 0;
};
