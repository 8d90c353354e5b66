#include "win32/win32_file_probe.h"

#include "win32/win32_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(Win32FileProbe, FindsOnlyOrdinaryFiles)
{
    const ScratchDir scratch("Probe");
    const fs::path folder = scratch.path() / "Common Files";
    fs::create_directories(folder / "MSINFO32.EXE.d");
    struct Row
    {
        const char* name;
        DWORD attributes;  // 0: none set
        std::u16string found;
    };
    const Row rows[] = {
        {"MSINFO32.EXE", 0, u"MSINFO32.EXE"},
        {"readonly.exe", FILE_ATTRIBUTE_READONLY, u"readonly.exe"},
        {"hidden.exe", FILE_ATTRIBUTE_HIDDEN, u""},
        {"system.exe", FILE_ATTRIBUTE_SYSTEM, u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const fs::path file = folder / row.name;
        std::ofstream(file) << "x";
        if (row.attributes != 0) {
            ASSERT_TRUE(SetFileAttributesW(file.c_str(), row.attributes));
        }
        Win32FileProbe probe;
        EXPECT_EQ(probe.findFile(file.u16string()), row.found);
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);  // so the folder can go
    }
    Win32FileProbe probe;
    EXPECT_EQ(probe.findFile((folder / "MSINFO32.EXE.d").u16string()), u"");  // a folder
    EXPECT_EQ(probe.findFile((folder / "absent.exe").u16string()), u"");
    EXPECT_EQ(probe.findFile((folder / "*.EXE").u16string()), u"");  // no wildcards
    EXPECT_EQ(probe.findFile(u""), u"");
}

}  // namespace
