#include "build_info.h"
#include "app/close_on_signals.h"
#include "app/fatal_error.h"
#include "app/guarded_application.h"
#include "app/program_icon.h"
#include "forms/session_history.h"
#include "history/file_history_store.h"
#include "l10n/built_in_catalogs.h"
#include "l10n/language_choice.h"
#include "platform/app_info.h"
#include "posix/posix_history_file.h"
#include "platform/registry.h"
#include "qt/qt_document_opener.h"
#include "qt/qt_file_probe.h"
#include "qt/qt_form1.h"
#include "qt/qt_help_viewer.h"
#include "qt/qt_history_platform.h"
#include "qt/qt_manual_location.h"
#include "qt/qt_message_box.h"
#include "qt/qt_process_launcher.h"
#include "qt/qt_settings_store.h"
#include "reckoner/reckoner_evaluator.h"
#include "sysinfo/start_sys_info.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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
    // The language first: the report of an error at start speaks it too.
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(QString::fromLocal8Bit(argv[i]).toStdU16String());
    const Catalog catalog = programCatalog(
        arguments, posixLanguageWishes([](const char* name) { return std::getenv(name); }));
    const AppInfo appInfo = currentAppInfo();
    QtMessageBox messageBox(appInfo.title);
    FatalErrorHandler fatalErrors(messageBox, catalog);
    GuardedApplication app(argc, argv, fatalErrors);
    // The program ends when its last window closes, so an open About dialog outlives Form1.
    QApplication::setQuitOnLastWindowClosed(true);
    QApplication::setWindowIcon(programIcon());
    // Wayland desktops match the window to its menu entry and icon by this name.
    QApplication::setDesktopFileName(QString::fromLatin1(buildinfo::DesktopId));

    // Qt's own dialogs (the buttons of a message box, the file dialog) in the same language.
    QTranslator qtTexts;
    const QString language = QString::fromStdString(catalog.language());
    if (!catalog.isEnglish() &&
        qtTexts.load(QStringLiteral("qtbase_") + language,
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);

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
        FileHistoryStore historyStore(makeUserHistoryFile());
        QtClock clock;
        SessionHistory history(historyStore, clock, messageBox, catalog);
        QtForm1 form({settings, help, evaluator, userDecimalPoint(), &history, catalog}, appInfo,
                     {*registry, files, launcher, messageBox, catalog});
        form.show();
        status = QApplication::exec();
        return true;
    });
    return status;
}
