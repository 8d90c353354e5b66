#include "platform/manual_location.h"
#include "platform/platform_error.h"
#include "platform/qt_file_probe.h"
#include "platform/twips.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

}  // namespace

TEST(QtFileProbe, FindsOnlyOrdinaryVisibleFiles)
{
    const QTemporaryDir dir;
    touch(dir.filePath(QStringLiteral("MSINFO32.EXE")));
    touch(dir.filePath(QStringLiteral(".hidden")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QtFileProbe probe;
    const auto find = [&](const char* name) {
        return probe.findFile(dir.filePath(QString::fromLatin1(name)).toStdU16String());
    };
    EXPECT_EQ(find("MSINFO32.EXE"), u"MSINFO32.EXE");
    EXPECT_EQ(find(".hidden"), u"");
    EXPECT_EQ(find("folder"), u"");
    EXPECT_EQ(find("missing"), u"");
    EXPECT_EQ(probe.findFile(u""), u"");
}

TEST(ManualLocation, FindsTheInstalledManualFromTheInstalledProgram)
{
    // The install rules' layout, staged below a temporary folder as DESTDIR would.
    const QTemporaryDir dir;
    const QString binDir = dir.path() + QStringLiteral(SUMWRIGHT_TEST_BINDIR);
    const QString helpDir = dir.path() + QStringLiteral(SUMWRIGHT_TEST_HELPDIR);
    ASSERT_TRUE(QDir().mkpath(binDir));
    EXPECT_EQ(findManual(binDir), u"");
    ASSERT_TRUE(QDir().mkpath(helpDir));
    touch(helpDir + QStringLiteral("/index.html"));
    EXPECT_EQ(findManual(binDir),
              QDir::cleanPath(helpDir + QStringLiteral("/index.html")).toStdU16String());
}

TEST(ManualLocation, PrefersTheManualBesideTheProgram)
{
    const QTemporaryDir dir;
    const QDir root(dir.path());
    EXPECT_EQ(findManual(dir.path()), u"");
    ASSERT_TRUE(root.mkpath(QStringLiteral("bin/help")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("share/doc/sumwright/help")));
    touch(root.filePath(QStringLiteral("share/doc/sumwright/help/index.html")));
    touch(root.filePath(QStringLiteral("bin/help/index.html")));
    EXPECT_EQ(findManual(root.filePath(QStringLiteral("bin"))),
              root.filePath(QStringLiteral("bin/help/index.html")).toStdU16String());
}

TEST(Twips, ConvertsEdgesSoThatNeighboursStillTouch)
{
    QFont font;
    font.setPixelSize(10);  // lines under 13 pixels: the factor stays 1
    const Twips twips(font);
    EXPECT_EQ(twips.px(1440), 96);
    EXPECT_EQ(twips.rect(120, 120, 3615, 2535), QRect(8, 8, 241, 169));
    EXPECT_EQ(twips.rect(7, 0, 7, 0).right() + 1, twips.px(14));
    QFont large;
    large.setPixelSize(20);
    const Twips scaled(large);
    EXPECT_GT(scaled.px(1500), 100);  // scaled up so the larger font fits
}
