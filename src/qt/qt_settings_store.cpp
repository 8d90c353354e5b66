#include "qt/qt_settings_store.h"

#include "platform/platform_error.h"
#include "text/utf16.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include <utility>

namespace {

QString toQString(const std::u16string& text) { return QString::fromStdU16String(text); }

QString groupKey(const std::u16string& section, const std::u16string& key)
{
    return toQString(section) + u'/' + toQString(key);
}

// INI files are UTF-8, which has no lone surrogate: such a text is kept as its UTF-16 bytes.
QVariant storedForm(const std::u16string& text)
{
    if (!utf16::hasLoneSurrogate(text))
        return toQString(text);
    QByteArray bytes;
    for (const char16_t c : text) {
        bytes.append(static_cast<char>(c & 0xFF));
        bytes.append(static_cast<char>(c >> 8));
    }
    return bytes;
}

std::u16string fromUtf16Bytes(const QByteArray& bytes)
{
    std::u16string text(static_cast<std::size_t>(bytes.size()) / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto low = static_cast<unsigned char>(bytes[static_cast<qsizetype>(2 * i)]);
        const auto high = static_cast<unsigned char>(bytes[static_cast<qsizetype>(2 * i + 1)]);
        text[i] = static_cast<char16_t>(low | high << 8);
    }
    return text;
}

const char* describe(QSettings::Status status)
{
    switch (status) {
    case QSettings::AccessError:
        return "access denied";
    case QSettings::FormatError:
        return "not a settings file";
    case QSettings::NoError:
        break;
    }
    return "unknown error";
}

}  // namespace

QtSettingsStore::QtSettingsStore(QString iniPath) : m_iniPath(std::move(iniPath)) {}

std::unique_ptr<QSettings> QtSettingsStore::open(const std::u16string& application) const
{
    if (!m_iniPath.isEmpty())
        return std::make_unique<QSettings>(m_iniPath, QSettings::IniFormat);
    const QString name = toQString(application);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, name, name);
}

std::unique_ptr<QSettings> QtSettingsStore::replaceDamaged(std::unique_ptr<QSettings> settings,
                                                         const std::u16string& application) const
{
    // Only this program writes the file, so one that is no settings file is damaged. It goes
    // aside, where the user can still look at it, rather than block every later save. Earlier
    // copies stay: the user may still want to recover something from any of them.
    const QString path = settings->fileName();
    settings.reset();
    const QString aside = path + QStringLiteral(".damaged");
    QString candidate = aside;
    // QFile::rename never replaces an existing file, so a name taken meanwhile is skipped too.
    for (int copy = 1; !QFile::rename(path, candidate); ++copy) {
        if (!QFileInfo::exists(candidate)) {
            throw PlatformError("Cannot write " + path.toStdString() + " (" +
                                describe(QSettings::FormatError) + ").");
        }
        candidate = aside + u'.' + QString::number(copy);
    }
    return open(application);
}

std::u16string QtSettingsStore::GetSetting(const std::u16string& application,
                                           const std::u16string& section,
                                           const std::u16string& key,
                                           const std::u16string& defaultValue)
{
    const std::unique_ptr<QSettings> settings = open(application);
    const QVariant value = settings->value(groupKey(section, key));
    if (!value.isValid())
        return defaultValue;
    // An INI value edited by hand with a comma in it reads back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u", ").toStdU16String();
    if (value.typeId() == QMetaType::QByteArray)
        return fromUtf16Bytes(value.toByteArray());
    return value.toString().toStdU16String();
}

void QtSettingsStore::SaveSetting(const std::u16string& application,
                                  const std::u16string& section, const std::u16string& key,
                                  const std::u16string& value)
{
    std::unique_ptr<QSettings> settings = open(application);
    const QString name = groupKey(section, key);
    // Sections are parsed when first read, so only reading them all tells a damaged file.
    static_cast<void>(settings->allKeys());
    if (settings->status() == QSettings::FormatError)
        settings = replaceDamaged(std::move(settings), application);
    settings->setValue(name, storedForm(value));
    settings->sync();
    if (settings->status() != QSettings::NoError) {
        throw PlatformError("Cannot write " + settings->fileName().toStdString() + " (" +
                            describe(settings->status()) + ").");
    }
}
