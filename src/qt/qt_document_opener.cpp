#include "qt/qt_document_opener.h"

#include "platform/platform_error.h"

#include <QDesktopServices>
#include <QUrl>

void QtDocumentOpener::open(const std::u16string& path)
{
    const QString file = QString::fromStdU16String(path);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
        throw PlatformError("No viewer could open " + file.toStdString() + ".");
}
