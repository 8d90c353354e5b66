#include "build_info.h"
#include "app/close_on_signals.h"
#include "app/fatal_error.h"
#include "app/guarded_application.h"
#include "app/program_icon.h"
#include "platform/app_info.h"
#include "platform/registry.h"
#include "qt/qt_document_opener.h"
#include "qt/qt_file_probe.h"
#include "qt/qt_form1.h"
#include "qt/qt_help_viewer.h"
#include "qt/qt_manual_location.h"
#include "qt/qt_message_box.h"
#include "qt/qt_process_launcher.h"
#include "qt/qt_settings_store.h"
#include "reckoner/reckoner_evaluator.h"
#include "sysinfo/start_sys_info.h"

#include <QLocale>

#include <cstdlib>
#include <memory>

namespace {

char16_t userDecimalPoint()
{
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? u'.' : point.front().unicode();
}

}  // namespace

int main(int argc, char* argv[])
{
    const AppInfo appInfo = currentAppInfo();
    QtMessageBox messageBox(appInfo.title);
    FatalErrorHandler fatalErrors(messageBox);
    GuardedApplication app(argc, argv, fatalErrors);
    // The program ends when its last window closes, so an open About dialog outlives Form1.
    QApplication::setQuitOnLastWindowClosed(true);
    QApplication::setWindowIcon(programIcon());
    // Wayland desktops match the window to its menu entry and icon by this name.
    QApplication::setDesktopFileName(QString::fromLatin1(buildinfo::DesktopId));

    int status = EXIT_FAILURE;
    fatalErrors.guard([&] {
        QtSettingsStore settings;
        QtProcessLauncher launcher;
        QtDocumentOpener documents;
        QtHelpViewer help(documents, findManual(QCoreApplication::applicationDirPath()));
        QtFileProbe files;
        const std::unique_ptr<Registry> registry = makeSystemRegistry();  // empty but on Windows
        // Before the window: a signal that comes while it loads waits for the event loop.
        const CloseOnSignals closeOnSignals;
        ReckonerEvaluator evaluator;
        QtForm1 form({settings, help, evaluator, userDecimalPoint()}, appInfo,
                     {*registry, files, launcher, messageBox});
        form.show();
        status = QApplication::exec();
        return true;
    });
    return status;
}
