#pragma once

#include "platform/platform_error.h"
#include "platform/settings_store.h"

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

class FakeSettingsStore final : public SettingsStore
{
public:
    using Key = std::tuple<std::u16string, std::u16string, std::u16string>;  // app, section, key
    struct Write
    {
        std::u16string key;
        std::u16string value;
        bool operator==(const Write&) const = default;
    };

    std::map<Key, std::u16string> values;
    std::vector<std::u16string> asked;  // keys read, in order
    std::vector<Write> written;         // in order
    bool failWrites = false;            // every SaveSetting throws PlatformError

    // Stores a value under the application's own section, as if an earlier run had.
    void put(const std::u16string& key, const std::u16string& value)
    {
        values[{u"Sumwright", u"Settings", key}] = value;
    }
    const std::u16string* find(const std::u16string& key) const
    {
        const auto it = values.find({u"Sumwright", u"Settings", key});
        return it == values.end() ? nullptr : &it->second;
    }

    std::u16string GetSetting(const std::u16string& application, const std::u16string& section,
                              const std::u16string& key,
                              const std::u16string& defaultValue) override
    {
        asked.push_back(key);
        const auto it = values.find({application, section, key});
        return it == values.end() ? defaultValue : it->second;
    }

    void SaveSetting(const std::u16string& application, const std::u16string& section,
                     const std::u16string& key, const std::u16string& value) override
    {
        if (failWrites)
            throw PlatformError("Cannot write settings.ini (access denied).");
        written.push_back({key, value});
        values[{application, section, key}] = value;
    }
};
