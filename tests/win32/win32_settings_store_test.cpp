#include "win32/win32_settings_store.h"

#include "platform/platform_error.h"
#include "text/utf8.h"
#include "win32/win32_test_support.h"
#include "win32/win32_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// An application of its own in the user's settings for one test, deleted with its values.
class ScratchApplication
{
public:
    explicit ScratchApplication(const std::string& name)
        : name(u"SumwrightTest " + utf8::decode(name + " " + std::to_string(GetCurrentProcessId())))
    {
        remove();
    }
    ~ScratchApplication() { remove(); }
    ScratchApplication(const ScratchApplication&) = delete;
    ScratchApplication& operator=(const ScratchApplication&) = delete;

    std::wstring sectionPath() const { return toWide(settingsKeyPath(name, u"Settings")); }

    // The raw value as Windows keeps it: type and bytes.
    std::pair<DWORD, std::vector<std::uint8_t>> raw(const std::wstring& value) const
    {
        DWORD type = REG_NONE;
        DWORD size = 0;
        RegGetValueW(HKEY_CURRENT_USER, sectionPath().c_str(), value.c_str(),
                     RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size);
        std::vector<std::uint8_t> data(size);
        RegGetValueW(HKEY_CURRENT_USER, sectionPath().c_str(), value.c_str(),
                     RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &size);
        data.resize(size);
        return {type, data};
    }
    void setRaw(const std::wstring& value, DWORD type, const std::vector<std::uint8_t>& data)
    {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, sectionPath().c_str(), value.c_str(), type,
                                  data.data(), static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
    bool hasKey() const
    {
        HKEY key = nullptr;
        const bool exists = RegOpenKeyExW(HKEY_CURRENT_USER, sectionPath().c_str(), 0, KEY_READ,
                                          &key) == ERROR_SUCCESS;
        if (exists)
            RegCloseKey(key);
        return exists;
    }
    // Everyone may read the section but not write to it.
    void denyWrite()
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, sectionPath().c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const bool isDenied = denyWriteTo(key);
        RegCloseKey(key);
        ASSERT_TRUE(isDenied);
    }

    const std::u16string name;

private:
    void remove()
    {
        allowAllOn(HKEY_CURRENT_USER, sectionPath());
        const std::wstring application =
            toWide(u"Software\\VB and VBA Program Settings\\" + name);
        RegDeleteTreeW(HKEY_CURRENT_USER, application.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, application.c_str());
    }
};

std::vector<std::uint8_t> bytesOf(const std::u16string& text)
{
    const auto* first = reinterpret_cast<const std::uint8_t*>(text.data());
    return std::vector<std::uint8_t>(first, first + text.size() * sizeof(char16_t));
}

TEST(Win32SettingsStore, KeepsEveryUnitAsAStringValueUnderTheProgramSettingsKey)
{
    const std::u16string rows[] = {
        u"",
        u"x^2+y",
        u"  spaces kept  ",
        u"1+\r\n2",
        u"\u00E9\u20AC\u2122\u0416",
        u"\U0001D465+1",    // a surrogate pair
        u"\xD800+\xDC00",   // lone surrogates, each on its own
        u"a\0b"s,           // a zero inside
        u"ab\0"s,           // and one at the end, beyond the terminating zero
        std::u16string(32768, u'1'),
    };
    const ScratchApplication app("RoundTrip");
    Win32SettingsStore store;
    for (const std::u16string& text : rows) {
        SCOPED_TRACE(utf8::encode(text.substr(0, 20)));
        store.SaveSetting(app.name, u"Settings", u"Formula", text);
        EXPECT_EQ(store.GetSetting(app.name, u"Settings", u"Formula", u"default"), text);
        std::vector<std::uint8_t> stored = bytesOf(text);
        stored.insert(stored.end(), 2, 0);  // the terminating zero
        EXPECT_EQ(app.raw(L"Formula"), std::make_pair(DWORD{REG_SZ}, stored));
    }
}

TEST(Win32SettingsStore, AnythingButAStringCountsAsMissing)
{
    struct Row
    {
        const char* name;
        DWORD type;
        std::vector<std::uint8_t> data;
        std::u16string read;
    };
    const Row rows[] = {
        {"string without its zero", REG_SZ, bytesOf(u"ab"), u"ab"},
        {"odd byte at the end", REG_SZ, {'a', 0, 'b'}, u"a"},
        {"no data", REG_SZ, {}, u""},
        {"number", REG_DWORD, {1, 0, 0, 0}, u"default"},
        {"expandable string", REG_EXPAND_SZ, bytesOf(u"%PATH%\0"s), u"default"},
        {"several strings", REG_MULTI_SZ, bytesOf(u"a\0\0"s), u"default"},
        {"binary", REG_BINARY, bytesOf(u"True"), u"default"},
    };
    ScratchApplication app("Types");
    Win32SettingsStore store;
    EXPECT_EQ(store.GetSetting(app.name, u"Settings", u"X", u"default"), u"default");
    EXPECT_FALSE(app.hasKey());  // reading creates nothing
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        app.setRaw(L"X", row.type, row.data);
        EXPECT_EQ(store.GetSetting(app.name, u"Settings", u"X", u"default"), row.read);
    }
    EXPECT_EQ(store.GetSetting(app.name, u"Settings", u"Y", u"default"), u"default");
    EXPECT_EQ(store.GetSetting(app.name, u"Other", u"X", u"default"), u"default");
}

TEST(Win32SettingsStore, WritingOneValueLeavesTheOthers)
{
    const ScratchApplication app("Keep");
    Win32SettingsStore store;
    store.SaveSetting(app.name, u"Settings", u"Formula", u"x+1");
    store.SaveSetting(app.name, u"Settings", u"SaveIndicator", u"False");
    store.SaveSetting(app.name, u"Settings", u"X", u"");
    EXPECT_EQ(store.GetSetting(app.name, u"Settings", u"Formula", u""), u"x+1");
    EXPECT_EQ(store.GetSetting(app.name, u"Settings", u"SaveIndicator", u""), u"False");
    EXPECT_EQ(store.GetSetting(app.name, u"Settings", u"X", u"default"), u"");  // empty, stored
}

TEST(Win32SettingsStore, ARefusedWriteThrowsWithTheSystemsReason)
{
    ScratchApplication app("Refused");
    app.denyWrite();
    Win32SettingsStore store;
    try {
        store.SaveSetting(app.name, u"Settings", u"Formula", u"x");
        FAIL() << "no error";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.what(), "Cannot write the setting HKEY_CURRENT_USER\\" +
                                    utf8::encode(settingsKeyPath(app.name, u"Settings")) +
                                    "\\Formula: " + systemMessage(ERROR_ACCESS_DENIED));
    }
    EXPECT_EQ(store.GetSetting(app.name, u"Settings", u"Formula", u"default"), u"default");
}

}  // namespace
