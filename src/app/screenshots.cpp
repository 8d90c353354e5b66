// Renders the main window after the worked example, and the About dialog, to PNG files in the
// folder given as the only argument. Uses a throw-away settings file, never the user's.

#include "app/program_icon.h"
#include "platform/app_info.h"
#include "platform/platform_error.h"
#include "platform/registry.h"
#include "qt/qt_file_probe.h"
#include "qt/qt_form1.h"
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
    QtForm1 form({settings, help, evaluator, u'.'}, currentAppInfo(),
                 {*registry, files, launcher, messageBox});
    form.show();
    form.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->setPlainText(QStringLiteral("x^2+y"));
    form.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("z+1.5"));
    form.findChild<QLineEdit*>(QStringLiteral("Text3"))->setText(QStringLiteral("3"));
    form.findChild<QLineEdit*>(QStringLiteral("Text4"))->setText(QStringLiteral("1.5"));
    auto* const command1 = form.findChild<QPushButton*>(QStringLiteral("Command1"));
    command1->setFocus();  // where a mouse click leaves it
    command1->click();
    QApplication::processEvents();
    bool isSaved = save(&form, folder, QStringLiteral("main-window.png"));

    form.findChild<QAction*>(QStringLiteral("mnuAbout"))->trigger();
    QApplication::processEvents();
    for (QWidget* const window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QStringLiteral("frmAbout") && window->isVisible())
            isSaved = save(window, folder, QStringLiteral("about.png")) && isSaved;
    }
    return isSaved ? EXIT_SUCCESS : EXIT_FAILURE;
}
