// Signals raised in the test's own process; the real program's are in sumwright_program_test.

#include "app/close_on_signals.h"

#include "support/qt_form1_fixture.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

TEST(CloseOnSignals, EndsTheProgramWithTheAboutDialogOpenStoringTheInputOnce)
{
    const bool isMainClosedBefore[] = {false, true};  // by the user, leaving the dialog open
    for (const bool isClosed : isMainClosedBefore) {
        SCOPED_TRACE(isClosed);
        QtForm1Fixture f;
        f.fakeStore.put(u"SaveIndicator", u"True");
        QtForm1& form = f.make();
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->setPlainText("x");
        form.findChild<QAction*>(QStringLiteral("mnuAbout"))->trigger();
        if (isClosed)
            form.close();
        const CloseOnSignals closeOnSignals;

        ASSERT_EQ(std::raise(SIGTERM), 0);
        QTimer safetyNet;
        QObject::connect(&safetyNet, &QTimer::timeout, [] { QCoreApplication::exit(2); });
        safetyNet.start(10000);
        EXPECT_EQ(QApplication::exec(), 0);
        for (const QWidget* window : QApplication::topLevelWidgets())
            EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
        const std::vector<FakeSettingsStore::Write> once = {
            {u"SaveIndicator", u"True"}, {u"Formula", u"x"}, {u"X", u""}, {u"Y", u""},
            {u"Z", u""}};
        EXPECT_EQ(f.fakeStore.written, once);
    }
}
