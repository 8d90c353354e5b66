#include "app/program_icon.h"

QIcon programIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/sumwright-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/sumwright-32.png"), QSize(32, 32));
    return icon;
}
