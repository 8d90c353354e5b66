// Renders the main window after the worked example (in English, German and Japanese), the
// History window and the About dialog, to PNG files in the folder given as the only argument.
// Uses a throw-away settings file, never the user's.

#include "app/program_icon.h"
#include "platform/app_info.h"
#include "platform/platform_error.h"
#include "platform/registry.h"
#include "qt/qt_file_probe.h"
#include "forms/session_history.h"
#include "l10n/built_in_catalogs.h"
#include "history/file_history_store.h"
#include "posix/posix_history_file.h"
#include "qt/qt_form1.h"
#include "qt/qt_history_platform.h"
#include "qt/qt_message_box.h"
#include "qt/qt_settings_store.h"
#include "reckoner/reckoner_evaluator.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

class NoLauncher final : public ProcessLauncher
{
public:
    void start(const std::u16string&, const std::vector<std::u16string>&) override
    {
        throw PlatformError("not started while taking screenshots");
    }
};

class NoHelp final : public HelpViewer
{
public:
    void showContents() override { throw PlatformError("not opened while taking screenshots"); }
};

bool save(QWidget* widget, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name);
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(programIcon());
    if (argc != 2) {
        std::fprintf(stderr, "usage: sumwright-screenshots FOLDER\n");
        return EXIT_FAILURE;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QTemporaryDir settingsDir;
    QtSettingsStore settings(settingsDir.filePath(QStringLiteral("settings.ini")));
    NoLauncher launcher;
    NoHelp help;
    QtMessageBox messageBox(u"Sumwright");
    QtFileProbe files;
    const std::unique_ptr<Registry> registry = makeSystemRegistry();

    ReckonerEvaluator evaluator;
    FileHistoryStore historyStore(std::make_unique<PosixHistoryFile>(
        settingsDir.filePath(QStringLiteral("history.jsonl")).toStdString()));
    QtClock clock;
    SessionHistory history(historyStore, clock, messageBox);
    QtForm1 form({settings, help, evaluator, u'.', &history}, currentAppInfo(),
                 {*registry, files, launcher, messageBox});
    form.show();
    const auto evaluate = [](QtForm1& form, const char* main, const char* x, const char* y,
                             const char* z) {
        auto* const command1 = form.findChild<QPushButton*>(QStringLiteral("Command1"));
        form.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->setPlainText(
            QString::fromLatin1(main));
        form.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QString::fromLatin1(x));
        form.findChild<QLineEdit*>(QStringLiteral("Text3"))->setText(QString::fromLatin1(y));
        form.findChild<QLineEdit*>(QStringLiteral("Text4"))->setText(QString::fromLatin1(z));
        command1->setFocus();  // where a mouse click leaves it
        command1->click();
        QApplication::processEvents();
    };
    // A few runs before the worked example, for the History window to show.
    evaluate(form, "sqrt(x^2+y^2)", "3", "4", "");
    evaluate(form, "2*pi*x", "0.5", "", "");
    evaluate(form, "1/(x-1", "", "", "");
    evaluate(form, "x^2+y", "z+1.5", "3", "1.5");
    bool isSaved = save(&form, folder, QStringLiteral("main-window.png"));

    form.findChild<QAction*>(QStringLiteral("mnuHistory"))->trigger();
    QApplication::processEvents();
    for (QWidget* const window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QStringLiteral("frmHistory") && window->isVisible()) {
            isSaved = save(window, folder, QStringLiteral("history.png")) && isSaved;
            window->close();
        }
    }

    form.findChild<QAction*>(QStringLiteral("mnuAbout"))->trigger();
    QApplication::processEvents();
    for (QWidget* const window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QStringLiteral("frmAbout") && window->isVisible())
            isSaved = save(window, folder, QStringLiteral("about.png")) && isSaved;
    }

    for (const char* const language : {"de", "ja"}) {
        const Catalog catalog = builtInCatalog(language);
        QtForm1 translated({settings, help, evaluator, u'.', nullptr, catalog}, currentAppInfo(),
                           {*registry, files, launcher, messageBox, catalog});
        translated.show();
        evaluate(translated, "x^2+y", "z+1.5", "3", "1.5");
        const QString name = QStringLiteral("main-window-%1.png").arg(QLatin1String(language));
        isSaved = save(&translated, folder, name) && isSaved;
    }
    return isSaved ? EXIT_SUCCESS : EXIT_FAILURE;
}
