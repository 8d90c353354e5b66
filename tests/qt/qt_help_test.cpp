#include "platform/help.h"

#include "platform/platform_error.h"

#include "fakes/fake_document_opener.h"
#include "fakes/fake_process_launcher.h"

#include <gtest/gtest.h>

TEST(ShowHelp, OpensTheHtmlManualWithTheDesktopViewer)
{
    FakeProcessLauncher launcher;
    FakeDocumentOpener opener;
    showHelp(launcher, opener, u"/usr/share/doc/sumwright/help/index.html");
    const std::vector<std::u16string> expected{u"/usr/share/doc/sumwright/help/index.html"};
    EXPECT_EQ(opener.opened, expected);
    EXPECT_TRUE(launcher.started.empty());
}

TEST(ShowHelp, ThrowsWhenTheManualWasNotFound)
{
    FakeProcessLauncher launcher;
    FakeDocumentOpener opener;
    EXPECT_THROW(showHelp(launcher, opener, u""), PlatformError);
    EXPECT_TRUE(opener.opened.empty());
}
