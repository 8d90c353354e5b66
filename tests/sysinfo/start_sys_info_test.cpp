#include "sysinfo/start_sys_info.h"

#include "fakes/fake_file_probe.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_process_launcher.h"
#include "fakes/fake_registry.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const std::string ViewerKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string FolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const std::u16string Unavailable = u"System Information Is Unavailable At This Time";
const std::string InstalledViewer =
    "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\MSINFO32.EXE";

using Bytes = std::vector<std::uint8_t>;

struct SysInfoFixture
{
    FakeRegistry registry;
    FakeFileProbe files;
    FakeProcessLauncher launcher;
    FakeMessageBox messageBox;
    SysInfoPlatform platform{registry, files, launcher, messageBox};

    std::vector<std::string> valuesQueried() const
    {
        std::vector<std::string> names;
        for (const FakeRegistry::Query& query : registry.queries)
            names.push_back(query.valueName);
        return names;
    }
    std::vector<std::u16string> programsStarted() const
    {
        std::vector<std::u16string> programs;
        for (const FakeProcessLauncher::Start& start : launcher.started) {
            EXPECT_TRUE(start.args.empty());  // the path is the program, never a command line
            programs.push_back(start.program);
        }
        return programs;
    }
};

TEST(StartSysInfo, StartsTheViewerFromTheFirstLookupThatFindsIt)
{
    struct Row
    {
        const char* name;
        std::function<void(SysInfoFixture&)> arrange;
        std::vector<std::u16string> started;
        std::vector<std::string> queried;
        std::vector<std::u16string> probed;
    };
    const std::vector<std::u16string> none;
    const std::vector<std::u16string> message{Unavailable};
    const Row rows[] = {
        {"path with spaces, started exactly",
         [](SysInfoFixture& f) { f.registry.setString(ViewerKey, "PATH", InstalledViewer); },
         {std::u16string(InstalledViewer.begin(), InstalledViewer.end())}, {"PATH"}, {}},
        {"key granting read but not write",
         [](SysInfoFixture& f) {
             f.registry.setString(ViewerKey, "PATH", "C:\\v.exe");
             f.registry.key(ViewerKey).granted = KeyRead;
         },
         {u"C:\\v.exe"}, {"PATH"}, {}},
        {"folder holding the viewer",
         [](SysInfoFixture& f) {
             f.registry.setString(FolderKey, "MSINFO", "C:\\Info");
             f.files.files = {u"C:\\Info\\MSINFO32.EXE"};
         },
         {u"C:\\Info\\MSINFO32.EXE"}, {"MSINFO"}, {u"C:\\Info\\MSINFO32.EXE"}},
        {"PATH key without the value, folder ending in a backslash",
         [](SysInfoFixture& f) {
             f.registry.key(ViewerKey);
             f.registry.setString(FolderKey, "MSINFO", "C:\\Info\\");
             f.files.files = {u"C:\\Info\\\\MSINFO32.EXE"};
         },
         {u"C:\\Info\\\\MSINFO32.EXE"}, {"PATH", "MSINFO"}, {u"C:\\Info\\\\MSINFO32.EXE"}},
        {"PATH over 1024 bytes counts as missing",
         [](SysInfoFixture& f) {
             f.registry.setString(ViewerKey, "PATH", std::string(1024, 'p'));
             f.registry.setString(FolderKey, "MSINFO", "D:");
             f.files.files = {u"D:\\MSINFO32.EXE"};
         },
         {u"D:\\MSINFO32.EXE"}, {"PATH", "MSINFO"}, {u"D:\\MSINFO32.EXE"}},
        {"empty folder: the root of the current drive",
         [](SysInfoFixture& f) {
             f.registry.setString(FolderKey, "MSINFO", "");
             f.files.files = {u"\\MSINFO32.EXE"};
         },
         {u"\\MSINFO32.EXE"}, {"MSINFO"}, {u"\\MSINFO32.EXE"}},
        {"binary folder keeps the empty path",
         [](SysInfoFixture& f) {
             f.registry.key(FolderKey).values["MSINFO"] = {RegBinary, {'C', ':'}};
             f.files.files = {u"\\MSINFO32.EXE"};
         },
         {u"\\MSINFO32.EXE"}, {"MSINFO"}, {u"\\MSINFO32.EXE"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SysInfoFixture f;
        row.arrange(f);
        StartSysInfo(f.platform);
        EXPECT_EQ(f.programsStarted(), row.started);
        EXPECT_TRUE(f.messageBox.shown.empty());
        EXPECT_EQ(f.valuesQueried(), row.queried);
        EXPECT_EQ(f.files.asked, row.probed);
        EXPECT_TRUE(f.registry.openKeys.empty());
    }
}

TEST(StartSysInfo, ShowsTheOneMessageWhenTheViewerIsNotAvailable)
{
    struct Row
    {
        const char* name;
        std::function<void(SysInfoFixture&)> arrange;
        std::vector<std::string> queried;
        std::vector<std::u16string> probed;
    };
    const Row rows[] = {
        {"nothing in the registry", [](SysInfoFixture&) {}, {}, {}},
        {"PATH names a file that cannot start",
         [](SysInfoFixture& f) {
             f.registry.setString(ViewerKey, "PATH", "C:\\gone.exe");
             f.registry.setString(FolderKey, "MSINFO", "C:\\Info");
             f.files.files = {u"C:\\Info\\MSINFO32.EXE"};
             f.launcher.failNext = true;
         },
         {"PATH"}, {}},
        {"empty PATH", [](SysInfoFixture& f) { f.registry.setString(ViewerKey, "PATH", ""); },
         {"PATH"}, {}},
        {"binary PATH",
         [](SysInfoFixture& f) {
             f.registry.key(ViewerKey).values["PATH"] = {RegBinary, {'C', ':'}};
         },
         {"PATH"}, {}},
        {"PATH without data: the second lookup is not tried",
         [](SysInfoFixture& f) {
             f.registry.key(ViewerKey).values["PATH"] = {RegSz, {}};
             f.registry.setString(FolderKey, "MSINFO", "C:\\Info");
             f.files.files = {u"C:\\Info\\MSINFO32.EXE"};
         },
         {"PATH"}, {}},
        {"folder without the viewer",
         [](SysInfoFixture& f) { f.registry.setString(FolderKey, "MSINFO", "C:\\Info"); },
         {"MSINFO"}, {u"C:\\Info\\MSINFO32.EXE"}},
        {"viewer in the folder fails to start",
         [](SysInfoFixture& f) {
             f.registry.setString(FolderKey, "MSINFO", "C:\\Info");
             f.files.files = {u"C:\\Info\\MSINFO32.EXE"};
             f.launcher.failNext = true;
         },
         {"MSINFO"}, {u"C:\\Info\\MSINFO32.EXE"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SysInfoFixture f;
        row.arrange(f);
        EXPECT_NO_THROW(StartSysInfo(f.platform));
        EXPECT_EQ(f.messageBox.shown, std::vector<std::u16string>{Unavailable});
        EXPECT_TRUE(f.launcher.started.empty());
        EXPECT_EQ(f.valuesQueried(), row.queried);
        EXPECT_EQ(f.files.asked, row.probed);
        EXPECT_TRUE(f.registry.openKeys.empty());
    }
}

TEST(GetKeyValue, TurnsEachValueTypeIntoText)
{
    struct Row
    {
        const char* name;
        std::uint32_t type;
        Bytes data;
        KeyValueResult result;
        std::u16string text;
    };
    Bytes longest(1023, 'a');
    longest.push_back(0);
    Bytes tooLong(1024, 'a');
    tooLong.push_back(0);
    const Row rows[] = {
        {"string", RegSz, {'a', ' ', 'b', 0}, KeyValueResult::Read, u"a b"},
        {"string without its zero", RegSz, {'a', 'b'}, KeyValueResult::Read, u"ab"},
        {"empty string", RegSz, {0}, KeyValueResult::Read, u""},
        {"one byte per character", RegSz, {0xE9, 0}, KeyValueResult::Read, u"\u00E9"},
        {"in the system code page", RegSz, {'P', 0x80, 0x99, 0}, KeyValueResult::Read,
         u"P\u20AC\u2122"},
        {"1023 characters", RegSz, longest, KeyValueResult::Read, std::u16string(1023, u'a')},
        {"1024 characters without zero", RegSz, Bytes(1024, 'a'), KeyValueResult::Read,
         std::u16string(1024, u'a')},
        {"1024 characters and zero", RegSz, tooLong, KeyValueResult::Missing, u""},
        {"dword", RegDword, {0x01, 0x04, 0x00, 0x00}, KeyValueResult::Read, u"1025"},
        {"dword top bit", RegDword, {0x00, 0x00, 0x00, 0x80}, KeyValueResult::Read,
         u"2147483648"},
        {"dword all ones", RegDword, {0xFF, 0xFF, 0xFF, 0xFF}, KeyValueResult::Read,
         u"4294967295"},
        {"dword of two bytes", RegDword, {0x01, 0x04}, KeyValueResult::Read, u"1025"},
        {"dword over 32 bits", RegDword, {0, 0, 0, 0, 1, 0, 0, 0}, KeyValueResult::Invalid, u""},
        {"binary keeps the caller's text", RegBinary, {'x', 0}, KeyValueResult::Read,
         u"caller"},
        {"string without data", RegSz, {}, KeyValueResult::Invalid, u""},
        {"binary without data", RegBinary, {}, KeyValueResult::Invalid, u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeRegistry registry;
        registry.codePage = {{0x80, u'\u20AC'}, {0x99, u'\u2122'}};  // as windows-1252
        registry.key("K").values["V"] = {row.type, row.data};
        std::u16string text = u"caller";
        EXPECT_EQ(GetKeyValue(registry, LocalMachine, "K", "V", text), row.result);
        EXPECT_EQ(text, row.text);
        ASSERT_EQ(registry.queries.size(), 1u);
        EXPECT_EQ(registry.queries[0].bufferSize, 1024u);
        EXPECT_EQ(registry.closed.size(), 1u);
        EXPECT_TRUE(registry.openKeys.empty());
    }
}

TEST(GetKeyValue, OpensForReadingOnlyAndReportsMissesAsEmptyText)
{
    struct Row
    {
        const char* name;
        std::function<void(FakeRegistry&)> arrange;
        KeyValueResult result;
        std::u16string text;
    };
    const Row rows[] = {
        {"read-only rights", [](FakeRegistry& r) { r.key("K").granted = KeyRead; },
         KeyValueResult::Read, u"v"},
        {"missing key", [](FakeRegistry& r) { r.keys.clear(); }, KeyValueResult::Missing, u""},
        {"missing value", [](FakeRegistry& r) { r.key("K").values.clear(); },
         KeyValueResult::Missing, u""},
        {"no right to query", [](FakeRegistry& r) { r.key("K").granted = ReadControl; },
         KeyValueResult::Missing, u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeRegistry registry;
        registry.setString("K", "V", "v");
        row.arrange(registry);
        std::u16string text = u"caller";
        EXPECT_EQ(GetKeyValue(registry, LocalMachine, "K", "V", text), row.result);
        EXPECT_EQ(text, row.text);
        ASSERT_EQ(registry.opens.size(), 1u);
        EXPECT_EQ(registry.opens[0].root, LocalMachine);
        EXPECT_EQ(registry.opens[0].options, 0u);
        EXPECT_EQ(registry.opens[0].access, 0x20019u);
        EXPECT_TRUE(registry.openKeys.empty());
    }
}

}  // namespace
