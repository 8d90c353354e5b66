// Runs with GuardedApplication as the application, as the program does, so that an exception
// from a window's handler takes the same way to the user as in the program.

#include "app/guarded_application.h"

#include "qt/qt_form1.h"
#include "qt/qt_settings_store.h"
#include "reckoner/reckoner_evaluator.h"

#include "fakes/fake_file_probe.h"
#include "fakes/fake_help_viewer.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_process_launcher.h"
#include "fakes/fake_registry.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

FakeMessageBox* shownBoxes = nullptr;  // the application's message box, set up by main

}  // namespace

// The program's own store on a real file whose folder has become a regular file by the time
// the window closes: not even root can write there.
TEST(GuardedApplication, ASettingsFolderThatCannotBeWrittenAtExitTellsTheUser)
{
    const QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString folder = root.filePath(QStringLiteral("config"));
    ASSERT_TRUE(QDir(root.path()).mkdir(QStringLiteral("config")));
    const QString path = folder + QStringLiteral("/settings.ini");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\nSaveIndicator=True\nFormula=x\n");
    }
    QtSettingsStore store(path);
    FakeHelpViewer help;
    FakeRegistry registry;
    FakeFileProbe files;
    FakeProcessLauncher launcher;
    ReckonerEvaluator evaluator;
    QtForm1 form({store, help, evaluator, u'.'}, AppInfo{u"Sumwright", 1, 0, 6},
                 {registry, files, launcher, *shownBoxes});
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* const text1 = form.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    ASSERT_EQ(text1->toPlainText(), QStringLiteral("x"));
    text1->setPlainText(QStringLiteral("x^2+1"));
    ASSERT_TRUE(QDir(folder).removeRecursively());
    {
        QFile blocker(folder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }

    form.close();

    const std::vector<std::u16string> expected = {
        u"Sumwright must close because of an error:\n\n"
        u"Your input could not be saved. Cannot write " + path.toStdU16String() +
        u" (access denied)."};
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
