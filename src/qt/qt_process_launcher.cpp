#include "qt/qt_process_launcher.h"

#include "platform/platform_error.h"

#include <QProcess>
#include <QStringList>

void QtProcessLauncher::start(const std::u16string& program,
                              const std::vector<std::u16string>& args)
{
    QStringList arguments;
    for (const std::u16string& arg : args)
        arguments.append(QString::fromStdU16String(arg));
    // program and arguments stay separate, so a path with spaces is never split
    QProcess process;
    process.setProgram(QString::fromStdU16String(program));
    process.setArguments(arguments);
    if (!process.startDetached())
        throw PlatformError(process.errorString().toStdString());
}
