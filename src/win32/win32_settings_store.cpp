#include "win32/win32_settings_store.h"

#include "platform/platform_error.h"
#include "text/utf8.h"
#include "win32/win32_handles.h"
#include "win32/win32_text.h"

#include <cstring>
#include <limits>
#include <string>
#include <vector>

std::u16string settingsKeyPath(const std::u16string& application, const std::u16string& section)
{
    return u"Software\\VB and VBA Program Settings\\" + application + u"\\" + section;
}

std::u16string Win32SettingsStore::GetSetting(const std::u16string& application,
                                              const std::u16string& section,
                                              const std::u16string& key,
                                              const std::u16string& defaultValue)
{
    UniqueHkey settings;
    const std::wstring path = toWide(settingsKeyPath(application, section));
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, settings.out())
        != ERROR_SUCCESS)
        return defaultValue;

    const std::wstring name = toWide(key);
    DWORD type = REG_NONE;
    DWORD size = 0;
    // The size first; then the data, again while the value grows between the calls.
    LONG status = RegQueryValueExW(settings.get(), name.c_str(), nullptr, &type, nullptr, &size);
    std::vector<BYTE> data;
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        data.resize(size);
        status = RegQueryValueExW(settings.get(), name.c_str(), nullptr, &type, data.data(),
                                  &size);
        if (status == ERROR_SUCCESS)
            break;
    }
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return defaultValue;

    // Read raw, not through RegGetValueW, which would stop at an embedded zero. An odd last
    // byte belongs to no unit; the terminating zero, when stored, is not part of the text.
    std::u16string text(size / sizeof(char16_t), u'\0');
    std::memcpy(text.data(), data.data(), text.size() * sizeof(char16_t));
    if (!text.empty() && text.back() == u'\0')
        text.pop_back();
    return text;
}

void Win32SettingsStore::SaveSetting(const std::u16string& application,
                                     const std::u16string& section, const std::u16string& key,
                                     const std::u16string& value)
{
    const std::u16string path = settingsKeyPath(application, section);
    const auto refused = [&](LONG status) {
        return PlatformError("Cannot write the setting HKEY_CURRENT_USER\\" + utf8::encode(path) +
                             "\\" + utf8::encode(key) + ": " + systemMessage(status));
    };
    UniqueHkey settings;
    const LONG created = RegCreateKeyExW(HKEY_CURRENT_USER, toWide(path).c_str(), 0, nullptr,
                                         REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                                         settings.out(), nullptr);
    if (created != ERROR_SUCCESS)
        throw refused(created);

    // With its terminating zero, as REG_SZ values are kept; a zero inside stays too.
    const std::wstring data = toWide(value);
    const std::size_t bytes = (data.size() + 1) * sizeof(wchar_t);
    if (bytes > std::numeric_limits<DWORD>::max())
        throw refused(ERROR_NOT_ENOUGH_MEMORY);
    const LONG written = RegSetValueExW(settings.get(), toWide(key).c_str(), 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(data.c_str()),
                                        static_cast<DWORD>(bytes));
    if (written != ERROR_SUCCESS)
        throw refused(written);
}
