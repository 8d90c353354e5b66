#include "qt/qt_frm_about.h"

#include "support/text_fit.h"

#include "fakes/fake_file_probe.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_process_launcher.h"
#include "fakes/fake_registry.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// "System Info..." on an empty registry: each press shows the one message.
struct AboutFixture
{
    explicit AboutFixture(AppInfo info = {u"Sumwright", 1, 0, 6})
        : dialog(std::make_unique<QtFrmAbout>(
              std::move(info), SysInfoPlatform{registry, files, launcher, messageBox}))
    {
    }

    QString text(const char* name) const
    {
        return dialog->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    QLabel* label(const char* name) const
    {
        return dialog->findChild<QLabel*>(QString::fromLatin1(name));
    }
    QPushButton* button(const char* name) const
    {
        return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void showAndWait() const
    {
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    int sysInfoRuns() const { return static_cast<int>(messageBox.shown.size()); }

    FakeRegistry registry;
    FakeFileProbe files;
    FakeProcessLauncher launcher;
    FakeMessageBox messageBox;
    std::unique_ptr<QtFrmAbout> dialog;
};

}  // namespace

TEST(QtFrmAbout, LoadsWhenShownAndShowsTheIcon)
{
    QApplication::setWindowIcon(QIcon(QPixmap(32, 32)));
    const AboutFixture f;
    EXPECT_EQ(f.dialog->windowTitle(), "About MyApp");  // not loaded before it is shown
    f.showAndWait();
    EXPECT_EQ(f.dialog->windowTitle(), "About Sumwright");
    EXPECT_EQ(f.text("lblVersion"), "Version 1.0.6");
    EXPECT_EQ(f.label("picIcon")->pixmap().size(), QSize(32, 32));
    QApplication::setWindowIcon(QIcon());
}

TEST(QtFrmAbout, Label1NamesASectionOfTheReadme)
{
    const AboutFixture f;
    const QRegularExpressionMatch quoted =
        QRegularExpression(QStringLiteral("\"([^\"]+)\" in its README")).match(f.text("Label1"));
    ASSERT_TRUE(quoted.hasMatch());
    QFile readme(QStringLiteral(SUMWRIGHT_README));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly | QIODevice::Text));
    EXPECT_TRUE(QString::fromUtf8(readme.readAll())
                    .contains(QStringLiteral("\n## ") + quoted.captured(1) + u'\n'));
}

TEST(QtFrmAbout, NoTextIsClipped)
{
    const AboutFixture f;
    f.showAndWait();
    textfit::expectAllFit(f.dialog.get());
}

TEST(QtFrmAbout, IsAModelessFixedSizeDialogWithFocusOnOk)
{
    const AboutFixture f;
    f.showAndWait();
    EXPECT_FALSE(f.dialog->isModal());
    EXPECT_EQ(f.dialog->parentWidget(), nullptr);
    EXPECT_EQ(f.dialog->minimumSize(), f.dialog->maximumSize());
    EXPECT_EQ(f.dialog->focusWidget(), f.button("cmdOK"));
    EXPECT_TRUE(f.button("cmdOK")->isDefault());
    EXPECT_FALSE(f.dialog->windowFlags() & Qt::WindowMinMaxButtonsHint);
}

TEST(QtFrmAbout, OkEnterEscAndTheCloseBoxAllUnload)
{
    const AboutFixture f;
    using Close = std::function<void(const AboutFixture&)>;
    const std::pair<const char*, Close> ways[] = {
        {"OK clicked", [](const AboutFixture& g) {
             QTest::mouseClick(g.button("cmdOK"), Qt::LeftButton);
         }},
        {"Enter on OK", [](const AboutFixture& g) {
             QTest::keyClick(g.button("cmdOK"), Qt::Key_Return);
         }},
        {"Esc on OK", [](const AboutFixture& g) {
             QTest::keyClick(g.button("cmdOK"), Qt::Key_Escape);
         }},
        {"Esc on System Info", [](const AboutFixture& g) {
             g.button("cmdSysInfo")->setFocus();
             QTest::keyClick(g.button("cmdSysInfo"), Qt::Key_Escape);
         }},
        {"close box", [](const AboutFixture& g) { g.dialog->close(); }},
    };
    for (const auto& [name, close] : ways) {
        SCOPED_TRACE(name);
        f.showAndWait();
        close(f);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !f.dialog->isVisible(); }));
    }
    EXPECT_EQ(f.sysInfoRuns(), 0);
}

TEST(QtFrmAbout, EnterOnSystemInfoPressesThatButton)
{
    AboutFixture f;
    f.showAndWait();
    f.button("cmdSysInfo")->setFocus();
    QTest::keyClick(f.button("cmdSysInfo"), Qt::Key_Return);
    EXPECT_EQ(f.sysInfoRuns(), 1);
    EXPECT_TRUE(f.dialog->isVisible());
    QTest::mouseClick(f.button("cmdSysInfo"), Qt::LeftButton);
    EXPECT_EQ(f.sysInfoRuns(), 2);
}

TEST(QtFrmAbout, ReopeningLoadsAgainButShowingWhileOpenDoesNot)
{
    const AboutFixture f;
    f.showAndWait();
    f.label("lblVersion")->setText(QStringLiteral("marker"));
    f.dialog->show();  // already open: not loaded a second time
    EXPECT_EQ(f.text("lblVersion"), "marker");

    QTest::mouseClick(f.button("cmdOK"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.dialog->isVisible(); }));
    f.showAndWait();
    EXPECT_EQ(f.text("lblVersion"), "Version 1.0.6");
    EXPECT_EQ(f.dialog->focusWidget(), f.button("cmdOK"));
}
