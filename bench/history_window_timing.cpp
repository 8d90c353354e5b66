// Times the History window of the real Qt program over 1,000 entries read from a throw-away
// file, short ones and ones at the 16 MiB bound: from choosing Options > History... to the
// list's first paint, and from a key typed into the search box to the list's next paint. Prints
// the median and the slowest of the runs.
//
// usage: sumwright_history_window_timing [RUNS]   (5 by default)

#include "forms/session_history.h"
#include "history/file_history_store.h"
#include "history/history_entry.h"
#include "paint_watch.h"
#include "platform/registry.h"
#include "posix/posix_history_file.h"
#include "qt/qt_document_opener.h"
#include "qt/qt_file_probe.h"
#include "qt/qt_form1.h"
#include "qt/qt_help_viewer.h"
#include "qt/qt_history_platform.h"
#include "qt/qt_message_box.h"
#include "qt/qt_process_launcher.h"
#include "qt/qt_settings_store.h"
#include "reckoner/reckoner_evaluator.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// 1,000 entries of three formulas of `length` units and a short one, told apart by their first
// digits; 5,400 units make lines of about 16 KiB, just under the bound.
std::string history(std::size_t length)
{
    std::string content;
    for (int i = 0; i < 1000; ++i) {
        const std::string number = std::to_string(i);
        std::u16string formula = u"x+" + std::u16string(number.begin(), number.end());
        while (formula.size() < length)
            formula += u"+1";
        const HistoryEntry entry{1'796'685'004 + i, {formula, formula, formula, u"1"},
                                 {u"4001", u"2001", u"2001", u"1", u" Evaluation successful.",
                                  {}}};
        content += historyLine(entry) + '\n';
    }
    return content;
}

void waitForPaint(PaintWatch& watch)
{
    while (!watch.isPainted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

double seconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

struct Timing
{
    double open;
    double keystroke;
};

Timing timeWindow(const std::string& content)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.jsonl"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content.data(), static_cast<qint64>(content.size()));
    file.close();

    QtSettingsStore settings(dir.filePath(QStringLiteral("settings.ini")));
    settings.SaveSetting(u"Sumwright", u"Settings", u"SaveIndicator", u"True");
    QtProcessLauncher launcher;
    QtDocumentOpener documents;
    QtHelpViewer help(documents, u"");
    QtFileProbe files;
    QtMessageBox messageBox(u"Sumwright");
    const std::unique_ptr<Registry> registry = makeSystemRegistry();
    ReckonerEvaluator evaluator;
    FileHistoryStore store(std::make_unique<PosixHistoryFile>(path.toStdString()));
    QtClock clock;
    SessionHistory history(store, clock, messageBox);
    QtForm1 form({settings, help, evaluator, u'.', &history}, AppInfo{u"Sumwright", 1, 0, 0},
                 {*registry, files, launcher, messageBox});
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "the window was not shown\n");
        std::exit(EXIT_FAILURE);
    }

    QElapsedTimer timer;
    timer.start();
    form.findChild<QAction*>(QStringLiteral("mnuHistory"))->trigger();
    QTreeWidget* list = nullptr;
    for (QWidget* const window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QStringLiteral("frmHistory"))
            list = window->findChild<QTreeWidget*>(QStringLiteral("lstHistory"));
    }
    if (list == nullptr) {
        std::fprintf(stderr, "no History window\n");
        std::exit(EXIT_FAILURE);
    }
    PaintWatch watch;
    list->viewport()->installEventFilter(&watch);
    waitForPaint(watch);
    const double open = seconds(timer);
    if (list->topLevelItemCount() != 1000) {
        std::fprintf(stderr, "the list shows %d entries, not 1000\n", list->topLevelItemCount());
        std::exit(EXIT_FAILURE);
    }

    QWidget* const search = list->window()->findChild<QWidget*>(QStringLiteral("txtSearch"));
    search->setFocus();
    QTest::keyClick(search, Qt::Key_1);
    QCoreApplication::processEvents();
    watch.isPainted = false;
    timer.restart();
    QTest::keyClick(search, Qt::Key_2);  // "12": a narrower search, as typing goes on
    waitForPaint(watch);
    const double keystroke = seconds(timer);
    list->viewport()->removeEventFilter(&watch);
    list->window()->close();
    return {open, keystroke};
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const auto report = [](const char* what, std::vector<double> values) {
        std::sort(values.begin(), values.end());
        std::printf("  %-46s median %7.1f ms  slowest %7.1f ms\n", what,
                    values[values.size() / 2] * 1000, values.back() * 1000);
    };
    // Formulas of the worked example's size, then the longest a full file can hold.
    for (const std::size_t length : {std::size_t{12}, std::size_t{5400}}) {
        const std::string content = history(length);
        std::vector<double> opens;
        std::vector<double> keystrokes;
        for (int i = 0; i < runs; ++i) {
            const Timing timing = timeWindow(content);
            opens.push_back(timing.open);
            keystrokes.push_back(timing.keystroke);
        }
        std::printf("1,000 entries of %zu-unit formulas, %zu bytes, %d runs\n", length,
                    content.size(), runs);
        report("open, to the list's first paint", opens);
        report("a key in the search box, to the list's paint", keystrokes);
    }
    return EXIT_SUCCESS;
}
