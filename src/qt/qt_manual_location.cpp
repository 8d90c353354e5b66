#include "qt/qt_manual_location.h"

#include <QDir>
#include <QFileInfo>

std::u16string findManual(const QString& programDir)
{
    const QDir dir(programDir);
    // SUMWRIGHT_INSTALLED_MANUAL: the installed manual, relative to the installed program.
    for (const QString& candidate : {QStringLiteral("help/index.html"),
                                     QStringLiteral(SUMWRIGHT_INSTALLED_MANUAL)}) {
        const QFileInfo info(dir.filePath(candidate));
        if (info.isFile())
            return QDir::cleanPath(info.absoluteFilePath()).toStdU16String();
    }
    return {};
}
