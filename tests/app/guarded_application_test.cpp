// Runs with GuardedApplication as the application, as the program does, so that an exception
// from a window's handler takes the same way to the user as in the program.

#include "app/guarded_application.h"

#include "mainwin/form1.h"

#include "fakes/fake_document_opener.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_process_launcher.h"
#include "fakes/fake_settings_store.h"

#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

FakeMessageBox* shownBoxes = nullptr;  // the application's message box, set up by main

}  // namespace

TEST(GuardedApplication, AnUnwritableStoreAtExitTellsTheUser)
{
    FakeSettingsStore store;
    store.put(u"SaveIndicator", u"True");
    FakeProcessLauncher launcher;
    FakeDocumentOpener documents;
    Form1 form({store, launcher, documents, u"", AppInfo{u"Sumwright", 1, 0, 6}, [] {}});
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->setPlainText(QStringLiteral("x"));
    store.failWrites = true;

    form.close();

    const std::vector<std::u16string> expected = {
        u"Sumwright must close because of an error:\n\n"
        u"Your input could not be saved. Cannot write settings.ini (access denied)."};
    EXPECT_EQ(shownBoxes->shown, expected);
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    FakeMessageBox box;
    shownBoxes = &box;
    FatalErrorHandler handler(box);
    GuardedApplication app(argc, argv, handler);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
