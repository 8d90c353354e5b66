#include "qt/qt_help_viewer.h"

#include "platform/platform_error.h"

#include "fakes/fake_document_opener.h"

#include <gtest/gtest.h>

TEST(QtHelpViewer, OpensTheHtmlManualWithTheDesktopViewer)
{
    FakeDocumentOpener opener;
    QtHelpViewer help(opener, u"/usr/share/doc/sumwright/help/index.html");
    help.showContents();
    const std::vector<std::u16string> expected{u"/usr/share/doc/sumwright/help/index.html"};
    EXPECT_EQ(opener.opened, expected);
}

TEST(QtHelpViewer, ThrowsWhenTheManualWasNotFound)
{
    FakeDocumentOpener opener;
    QtHelpViewer help(opener, u"");
    EXPECT_THROW(help.showContents(), PlatformError);
    EXPECT_TRUE(opener.opened.empty());
}
