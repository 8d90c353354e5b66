#include "sysinfo/start_sys_info.h"
#include "platform/registry.h"
#include "win32/win32_file_probe.h"
#include "win32/win32_test_support.h"

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#define NOUSER
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// A key under HKEY_LOCAL_MACHINE that exists for one test; deleted with everything in it.
class ScratchKey
{
public:
    explicit ScratchKey(const std::string& name) : m_path("SOFTWARE\\SumwrightTest " + name)
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, m_path.c_str());  // left over from a killed run
        const LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, nullptr, 0,
                                            KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
        EXPECT_EQ(status, ERROR_SUCCESS) << "cannot create " << m_path;
    }
    ~ScratchKey()
    {
        allowAllOn(HKEY_LOCAL_MACHINE, std::wstring(m_path.begin(), m_path.end()));
        RegCloseKey(m_key);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, m_path.c_str());
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    const std::string& path() const { return m_path; }

    void set(const std::string& name, DWORD type, const std::vector<std::uint8_t>& data)
    {
        ASSERT_EQ(RegSetValueExA(m_key, name.c_str(), 0, type, data.data(),
                                 static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
    void setWide(const std::wstring& name, const std::wstring& text)
    {
        const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
        ASSERT_EQ(RegSetValueExW(m_key, name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()), bytes),
                  ERROR_SUCCESS);
    }
    void setString(const std::string& name, const std::string& text)
    {
        std::vector<std::uint8_t> data(text.begin(), text.end());
        data.push_back(0);
        set(name, REG_SZ, data);
    }

    void denyWrite() { ASSERT_TRUE(denyWriteTo(m_key)); }

private:
    std::string m_path;
    HKEY m_key = nullptr;
};

TEST(RegistryWin32, GetKeyValueReadsRealValues)
{
    ScratchKey scratch("Values");
    const std::string viewer = "C:\\Program Files\\Common Files\\MSInfo\\MSINFO32.EXE";
    scratch.setString("PATH", viewer);
    scratch.setString("Empty", "");
    scratch.setString("Longest", std::string(1023, 'a'));
    scratch.setString("TooLong", std::string(1100, 'a'));
    scratch.set("Number", REG_DWORD, {0x01, 0x04, 0x00, 0x00});
    scratch.set("TopBit", REG_DWORD, {0x00, 0x00, 0x00, 0x80});
    scratch.set("Binary", REG_BINARY, {'C', ':', 0});

    struct Row
    {
        std::string value;
        KeyValueResult result;
        std::u16string text;
    };
    const Row rows[] = {
        {"PATH", KeyValueResult::Read, std::u16string(viewer.begin(), viewer.end())},
        {"Empty", KeyValueResult::Read, u""},
        {"Longest", KeyValueResult::Read, std::u16string(1023, u'a')},
        {"TooLong", KeyValueResult::Missing, u""},
        {"Number", KeyValueResult::Read, u"1025"},
        {"TopBit", KeyValueResult::Read, u"2147483648"},
        {"Binary", KeyValueResult::Read, u"caller"},
        {"Absent", KeyValueResult::Missing, u""},
    };
    const std::unique_ptr<Registry> registry = makeSystemRegistry();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        std::u16string text = u"caller";
        EXPECT_EQ(GetKeyValue(*registry, LocalMachine, scratch.path(), row.value, text),
                  row.result);
        EXPECT_EQ(text, row.text);
    }
}

TEST(RegistryWin32, ReportsTheSystemStatuses)
{
    ScratchKey scratch("Statuses");
    scratch.setString("TooLong", std::string(1100, 'a'));
    const std::unique_ptr<Registry> registry = makeSystemRegistry();

    EXPECT_EQ(registry->openKey(LocalMachine, scratch.path() + "\\Absent", 0, KeyRead).status,
              RegistryNotFound);
    const Registry::Opened opened = registry->openKey(LocalMachine, scratch.path(), 0, KeyRead);
    ASSERT_EQ(opened.status, RegistrySuccess);
    std::vector<std::uint8_t> buffer(1024);
    const Registry::Queried tooLong = registry->queryValue(opened.key, "TooLong", buffer);
    EXPECT_EQ(tooLong.status, RegistryMoreData);
    EXPECT_EQ(tooLong.size, 1101u);
    EXPECT_EQ(registry->queryValue(opened.key, "Absent", buffer).status, RegistryNotFound);
    registry->closeKey(opened.key);

    std::u16string text = u"caller";
    EXPECT_EQ(GetKeyValue(*registry, LocalMachine, scratch.path() + "\\Absent", "PATH", text),
              KeyValueResult::Missing);
    EXPECT_EQ(text, u"");
}

TEST(RegistryWin32, ReadsAKeyThatRefusesWriteAccess)
{
    ScratchKey scratch("ReadOnly");
    scratch.setString("PATH", "C:\\v.exe");
    scratch.denyWrite();
    const std::unique_ptr<Registry> registry = makeSystemRegistry();

    constexpr std::uint32_t ReadAndWrite = 0x2003F;
    EXPECT_EQ(registry->openKey(LocalMachine, scratch.path(), 0, ReadAndWrite).status,
              RegistryAccessDenied);
    std::u16string text;
    EXPECT_EQ(GetKeyValue(*registry, LocalMachine, scratch.path(), "PATH", text),
              KeyValueResult::Read);
    EXPECT_EQ(text, u"C:\\v.exe");
}

// Characters of the system code page that the ANSI calls return as bytes other than their
// Latin-1 codes, so that reading those bytes one character each names another file.
std::u16string codePageCharacters()
{
    std::u16string found;
    for (const wchar_t c : std::wstring(L"\u20AC\u2122\u0416\u03B1\u00FC")) {
        char bytes[8];
        BOOL lossy = FALSE;
        const bool isUtf8 = GetACP() == CP_UTF8;  // which takes no lossy flag
        const int size = WideCharToMultiByte(CP_ACP, isUtf8 ? 0 : WC_NO_BEST_FIT_CHARS, &c, 1,
                                             bytes, sizeof bytes, nullptr,
                                             isUtf8 ? nullptr : &lossy);
        const bool isLatin1Byte = size == 1 && static_cast<unsigned char>(bytes[0]) == c;
        if (size > 0 && !lossy && !isLatin1Byte)
            found += static_cast<char16_t>(c);
    }
    return found;
}

TEST(RegistryWin32, ReadsAFolderWithCharactersOfTheSystemCodePage)
{
    const std::u16string special = codePageCharacters();
    ASSERT_FALSE(special.empty()) << "code page " << GetACP();
    const ScratchDir scratch("CodePage");
    const std::filesystem::path folder = scratch.path() / (u"Pr" + special);
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(markerProgram(), folder / "MSINFO32.EXE");
    ScratchKey key("CodePage");
    key.setWide(L"MSINFO", folder.wstring());

    const std::unique_ptr<Registry> registry = makeSystemRegistry();
    std::u16string text;
    ASSERT_EQ(GetKeyValue(*registry, LocalMachine, key.path(), "MSINFO", text),
              KeyValueResult::Read);
    EXPECT_EQ(text, folder.u16string());
    Win32FileProbe probe;
    EXPECT_EQ(probe.findFile(text + u"\\MSINFO32.EXE"), u"MSINFO32.EXE");
}

}  // namespace
