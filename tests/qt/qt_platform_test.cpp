#include "qt/qt_manual_location.h"
#include "platform/platform_error.h"
#include "qt/qt_file_probe.h"
#include "qt/qt_twips.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// The install rules' layout, staged below a temporary folder as DESTDIR would.
struct InstalledLayout
{
    const QTemporaryDir root;
    const QString binDir = root.path() + QStringLiteral(SUMWRIGHT_TEST_BINDIR);
    const QString manual = root.path() + QStringLiteral(SUMWRIGHT_TEST_HELPDIR "/index.html");
};

TEST(ManualLocation, FindsTheInstalledManualFromTheInstalledProgram)
{
    const InstalledLayout layout;
    ASSERT_TRUE(QDir().mkpath(layout.binDir));
    EXPECT_EQ(findManual(layout.binDir), u"");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(layout.manual).path()));
    touch(layout.manual);
    EXPECT_EQ(findManual(layout.binDir), QDir::cleanPath(layout.manual).toStdU16String());
}

TEST(ManualLocation, PrefersTheManualBesideTheProgram)
{
    const InstalledLayout layout;
    const QString besideProgram = layout.binDir + QStringLiteral("/help/index.html");
    for (const QString& manual : {layout.manual, besideProgram}) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(manual).path()));
        touch(manual);
    }
    EXPECT_EQ(findManual(layout.binDir), QDir::cleanPath(besideProgram).toStdU16String());
}

TEST(QtTwips, ConvertsEdgesSoThatNeighboursStillTouch)
{
    QFont font;
    font.setPixelSize(10);  // lines under 13 pixels: the factor stays 1
    const QtTwips twips(font);
    EXPECT_EQ(twips.px(1440), 96);
    EXPECT_EQ(twips.rect(120, 120, 3615, 2535), QRect(8, 8, 241, 169));
    EXPECT_EQ(twips.rect(7, 0, 7, 0).right() + 1, twips.px(14));
    QFont large;
    large.setPixelSize(20);
    const QtTwips scaled(large);
    EXPECT_GT(scaled.px(1500), 100);  // scaled up so the larger font fits
}
