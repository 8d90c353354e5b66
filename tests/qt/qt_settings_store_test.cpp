#include "qt/qt_settings_store.h"

#include "platform/platform_error.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

const std::u16string App = u"Sumwright";
const std::u16string Section = u"Settings";

}  // namespace

TEST(QtSettingsStore, KeepsEveryTextExactlyAcrossInstances)
{
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    const std::u16string texts[] = {
        u"x^2+y", u"  spaces around  ", u"", u"mod(7, 3)", u"two\nlines", u"a=b;c#d",
        u"\u00E9\u03A3", u"True", u"\"quoted\"", u"back\\slash",
    };
    {
        QtSettingsStore store(path);
        for (std::size_t i = 0; i < std::size(texts); ++i)
            store.SaveSetting(App, Section, u"K" + std::u16string(1, u'0' + i), texts[i]);
    }
    QtSettingsStore store(path);
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(store.GetSetting(App, Section, u"K" + std::u16string(1, u'0' + i), u"default"),
                  texts[i]);
    }
}

TEST(QtSettingsStore, GivesTheDefaultForAMissingKeyOrFile)
{
    const QTemporaryDir dir;
    QtSettingsStore missingFile(dir.filePath(QStringLiteral("none.ini")));
    EXPECT_EQ(missingFile.GetSetting(App, Section, u"Formula", u"False"), u"False");

    QtSettingsStore store(dir.filePath(QStringLiteral("settings.ini")));
    store.SaveSetting(App, Section, u"X", u"1");
    EXPECT_EQ(store.GetSetting(App, Section, u"Y", u""), u"");
    EXPECT_EQ(store.GetSetting(App, u"Other", u"X", u"none"), u"none");
}

TEST(QtSettingsStore, WritesTheSectionAsAnIniGroup)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    QtSettingsStore(path).SaveSetting(App, Section, u"SaveIndicator", u"True");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().trimmed().toStdString(), "[Settings]\nSaveIndicator=True");
}

TEST(QtSettingsStore, ThrowsWhenTheFileCannotBeWritten)
{
    const QTemporaryDir dir;
    // A folder that is a file cannot hold the settings file, whoever runs the test.
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = dir.filePath(QStringLiteral("blocker/settings.ini"));
    QtSettingsStore store(path);
    try {
        store.SaveSetting(App, Section, u"X", u"1");
        FAIL() << "no exception";
    } catch (const PlatformError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot write " + path.toStdString() + " (access denied).");
    }
}
