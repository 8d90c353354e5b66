#include "qt/qt_history_platform.h"

#include "platform/platform_error.h"

#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMimeData>
#include <QSaveFile>

LocalTime QtClock::localTime(std::int64_t time)
{
    const QDateTime local = QDateTime::fromSecsSinceEpoch(time).toLocalTime();
    return {local.date().year(), local.date().month(), local.date().day(), local.time().hour(),
            local.time().minute()};
}

void QtClipboard::copy(const std::u16string& text, const std::string& entryLine)
{
    auto* const data = new QMimeData;  // the clipboard takes it over
    data->setText(QString::fromStdU16String(text));
    data->setData(QString::fromLatin1(HistoryEntryMimeType),
                  QByteArray(entryLine.data(), static_cast<qsizetype>(entryLine.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

std::optional<SaveChoice> QtSaveDialog::ask(std::u16string_view suggestedName)
{
    const QString csv = QStringLiteral("CSV (*.csv)");
    const QString jsonLines = QStringLiteral("JSON Lines (*.jsonl)");
    QString filter = csv;
    const QString name = QString::fromUtf16(suggestedName.data(),
                                            static_cast<qsizetype>(suggestedName.size()));
    const QString path = QFileDialog::getSaveFileName(
        m_parent, QString(), QDir::home().filePath(name + QStringLiteral(".csv")),
        csv + QStringLiteral(";;") + jsonLines, &filter);
    if (path.isEmpty())
        return std::nullopt;
    const bool isJson = filter == jsonLines || path.endsWith(QStringLiteral(".jsonl"));
    return SaveChoice{path.toStdU16String(), isJson ? ExportFormat::JsonLines : ExportFormat::Csv};
}

void QtSaveDialog::write(const std::u16string& path, std::string_view bytes)
{
    QSaveFile file(QString::fromStdU16String(path));
    const bool isWritten = file.open(QIODevice::WriteOnly) &&
                           file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                               static_cast<qint64>(bytes.size()) &&
                           file.commit();
    if (!isWritten)
        throw PlatformError("Cannot write " + QDir::toNativeSeparators(file.fileName())
                                                  .toStdString() +
                            ": " + file.errorString().toStdString() + ".");
}
