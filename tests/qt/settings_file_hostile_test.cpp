// Input persistence on a real settings file that holds, or is, something it should not.

#include "settings/input_persistence.h"

#include "platform/platform_error.h"
#include "qt/qt_settings_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::u16string App = u"Sumwright";
const std::u16string Section = u"Settings";

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray garbage()
{
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i)
        bytes.append(static_cast<char>((i * 131 + 7) & 0xFF));
    return bytes;
}

}  // namespace

TEST(SettingsFileHostile, KeepsEveryUnitOfTheUsersText)
{
    std::u16string controls;
    for (char16_t c = 1; c < 0x20; ++c)
        controls += c;
    const std::u16string texts[] = {
        std::u16string(u"1\0+2", 4), u"1+\xD800", u"\xDC00z", u"\u200Fx+1\u202E", controls,
        u"\x7F\x85\uFEFF", std::u16string(10 << 20, u'7'),
    };
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const std::u16string& text : texts) {
        SCOPED_TRACE(text.size());
        const QString written = dir.filePath(QStringLiteral("written.ini"));
        const QString copy = dir.filePath(QStringLiteral("copy.ini"));
        QFile::remove(copy);
        QtSettingsStore store(written);
        storeInput(store, true, {text, text, u"", text});
        // A copy is parsed afresh: QSettings answers from memory for a file it wrote itself.
        ASSERT_TRUE(QFile::copy(written, copy));
        QtSettingsStore reread(copy);
        const RestoredInput restored = restoreInput(reread);
        ASSERT_TRUE(restored.texts.has_value());
        EXPECT_TRUE(restored.texts->formula == text);
        EXPECT_TRUE(restored.texts->x == text);
        EXPECT_EQ(restored.texts->y, u"");
        EXPECT_TRUE(restored.texts->z == text);
    }
}

TEST(SettingsFileHostile, RestoresATenMegabyteFormulaWrittenByHand)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    const QByteArray formula = QByteArray("1+").repeated(5 << 20);
    writeFile(path, "[Settings]\nSaveIndicator=true\nFormula=" + formula + "\nZ=2\n");
    QtSettingsStore store(path);
    const RestoredInput restored = restoreInput(store);
    ASSERT_TRUE(restored.texts.has_value());
    EXPECT_EQ(restored.texts->formula.size(), std::size_t(10 << 20));
    EXPECT_TRUE(restored.texts->formula == QString::fromLatin1(formula).toStdU16String());
    EXPECT_EQ(restored.texts->z, u"2");
}

TEST(SettingsFileHostile, OpensUncheckedAndEmptyFromAFileItCannotUse)
{
    struct Row
    {
        const char* name;
        QByteArray content;  // written to settings.ini unless it is to be a folder
        bool isFolder;
    };
    const Row rows[] = {
        {"binary garbage", garbage(), false},
        {"UTF-16 text", QByteArray("\xFF\xFE[\0S\0]\0\n\0S\0a\0v\0e\0=\0T\0", 22), false},
        {"only a broken section", "[Settings\nSaveIndicator", false},
        {"empty", "", false},
        {"a folder where the file should be", "", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("settings.ini"));
        if (row.isFolder)
            ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("settings.ini")));
        else
            writeFile(path, row.content);
        QtSettingsStore store(path);
        const RestoredInput restored = restoreInput(store);
        EXPECT_FALSE(restored.isSaveChecked);
        EXPECT_FALSE(restored.texts.has_value());
    }
}

TEST(SettingsFileHostile, SavesOverADamagedFileAndKeepsItAside)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    writeFile(path, garbage());
    QtSettingsStore store(path);
    storeInput(store, true, {u"x^2+y", u"", u"", u"1.5"});

    EXPECT_EQ(readFile(path + QStringLiteral(".damaged")), garbage());
    const QString copy = dir.filePath(QStringLiteral("copy.ini"));
    ASSERT_TRUE(QFile::copy(path, copy));
    QtSettingsStore reread(copy);
    const RestoredInput restored = restoreInput(reread);
    ASSERT_TRUE(restored.texts.has_value());
    EXPECT_EQ(restored.texts->formula, u"x^2+y");
    EXPECT_EQ(restored.texts->z, u"1.5");
}

TEST(SettingsFileHostile, KeepsEveryEarlierDamagedCopy)
{
    struct Row
    {
        std::vector<QString> taken;  // names in use before the save; a folder ends in '/'
        QString aside;               // where the damaged file goes
    };
    const Row rows[] = {
        {{}, ".damaged"},
        {{".damaged"}, ".damaged.1"},
        {{".damaged", ".damaged.2"}, ".damaged.1"},
        {{".damaged/", ".damaged.1"}, ".damaged.2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.aside.toStdString());
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("settings.ini"));
        for (const QString& name : row.taken) {
            if (name.endsWith(u'/'))
                ASSERT_TRUE(QDir().mkdir(path + name));
            else
                writeFile(path + name, name.toLatin1());
        }
        writeFile(path, garbage());
        QtSettingsStore store(path);
        storeInput(store, true, {u"x", u"", u"", u""});

        EXPECT_EQ(readFile(path + row.aside), garbage());
        for (const QString& name : row.taken)
            EXPECT_EQ(readFile(path + name), name.endsWith(u'/') ? "" : name.toLatin1());
    }
}

TEST(SettingsFileHostile, SaysWhyTheInputCannotBeSaved)
{
    const QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("file"));
    writeFile(file, "x");
    const QString folder = dir.filePath(QStringLiteral("folder.ini"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.ini")));
    // Root may write anywhere, but not over a folder nor below a regular file.
    const QString paths[] = {folder, file + QStringLiteral("/settings.ini")};
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        QtSettingsStore store(path);
        try {
            storeInput(store, true, {u"x^2+y", u"", u"", u""});
            ADD_FAILURE() << "no exception";
        } catch (const PlatformError& error) {
            EXPECT_EQ(std::string(error.what()), "Your input could not be saved. Cannot write " +
                                                     path.toStdString() + " (access denied).");
        }
    }
}
