#include "platform/qt_settings_store.h"

#include "platform/platform_error.h"

#include <QSettings>
#include <QStringList>

#include <utility>

namespace {

QString toQString(const std::u16string& text) { return QString::fromStdU16String(text); }

QString groupKey(const std::u16string& section, const std::u16string& key)
{
    return toQString(section) + u'/' + toQString(key);
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
    return value.toString().toStdU16String();
}

void QtSettingsStore::SaveSetting(const std::u16string& application,
                                  const std::u16string& section, const std::u16string& key,
                                  const std::u16string& value)
{
    const std::unique_ptr<QSettings> settings = open(application);
    settings->setValue(groupKey(section, key), toQString(value));
    settings->sync();
    if (settings->status() != QSettings::NoError) {
        throw PlatformError("Cannot write " + settings->fileName().toStdString() + " (" +
                            describe(settings->status()) + ").");
    }
}
