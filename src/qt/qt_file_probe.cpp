#include "qt/qt_file_probe.h"

#include <QFileInfo>

std::u16string QtFileProbe::findFile(const std::u16string& path)
{
    if (path.empty())
        return {};
    const QFileInfo info(QString::fromStdU16String(path));
    if (!info.isFile() || info.isHidden())
        return {};
    return info.fileName().toStdU16String();
}
