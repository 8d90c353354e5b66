#include "win32/win32_help_viewer.h"

#include "fakes/fake_process_launcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Win32HelpViewer, StartsTheHelpViewerOnTheHelpFileByNameAlone)
{
    FakeProcessLauncher launcher;
    Win32HelpViewer help(launcher);
    help.showContents();
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].program, u"hh.exe");
    EXPECT_EQ(launcher.started[0].args, std::vector<std::u16string>{u"swhelp.chm"});
}

}  // namespace
