#include "win32/win32_process_launcher.h"

#include "platform/platform_error.h"
#include "win32/win32_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// What the started marker program wrote: its arguments, one a line; nothing if it never ran.
std::string waitForMarker(const fs::path& program)
{
    fs::path ran = program;
    ran += ".ran";
    if (!waitUntil([&] { return fs::exists(ran); }))
        return "(did not run)";
    std::ifstream in(ran, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Win32ProcessLauncher, QuotesTheProgramAndEachArgument)
{
    struct Row
    {
        std::vector<std::u16string> args;
        std::u16string line;
    };
    const Row rows[] = {
        {{}, u"\"C:\\Program Files\\x.exe\""},
        {{u"a b", u""}, u"\"C:\\Program Files\\x.exe\" \"a b\" \"\""},
        {{u"x\"y", u"c:\\dir\\"}, u"\"C:\\Program Files\\x.exe\" \"x\\\"y\" \"c:\\dir\\\\\""},
        {{u"a\\\\\"b"}, u"\"C:\\Program Files\\x.exe\" \"a\\\\\\\\\\\"b\""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(windowsCommandLine(u"C:\\Program Files\\x.exe", row.args), row.line);
}

TEST(Win32ProcessLauncher, StartsExactlyTheProgramWhosePathHasSpaces)
{
    const ScratchDir scratch("Launcher");
    const fs::path program = scratch.path() / "sw test" / "MSINFO32.EXE";
    const fs::path decoy = scratch.path() / "sw.exe";  // what splitting at the space would start
    fs::create_directories(program.parent_path());
    fs::copy_file(markerProgram(), program);
    fs::copy_file(markerProgram(), decoy);

    Win32ProcessLauncher launcher;
    launcher.start(program.u16string(), {});
    EXPECT_EQ(waitForMarker(program), "");
    EXPECT_FALSE(fs::exists(decoy.wstring() + L".ran"));
}

TEST(Win32ProcessLauncher, PassesArgumentsUnchanged)
{
    const ScratchDir scratch("Arguments");
    const fs::path program = scratch.path() / "marker.exe";
    fs::copy_file(markerProgram(), program);

    Win32ProcessLauncher launcher;
    launcher.start(program.u16string(), {u"a b", u"", u"x\"y", u"c:\\dir\\", u"\u00E9"});
    EXPECT_EQ(waitForMarker(program), "a b\n\nx\"y\nc:\\dir\\\n\xC3\xA9\n");
}

TEST(Win32ProcessLauncher, ThrowsWhenTheProgramCannotStart)
{
    const ScratchDir scratch("Missing");
    Win32ProcessLauncher launcher;
    const std::u16string missing = (scratch.path() / "missing.exe").u16string();
    EXPECT_THROW(launcher.start(missing, {}), PlatformError);
    EXPECT_THROW(launcher.start(u"", {}), PlatformError);
    EXPECT_THROW(launcher.start(scratch.path().u16string(), {}), PlatformError);  // a folder
}

}  // namespace
