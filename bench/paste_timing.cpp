// Times a long paste into each formula box of the real window: from the Ctrl+V key press to the
// end of the box's next paint. Prints one line per box and length, the median of the runs.
// Uses a throw-away settings file, never the user's.
//
// usage: sumwright_paste_timing [--box NAME] [RUNS] [LENGTH...]
// (every formula box, 3 runs, 200000 and 1000000 units by default)

#include "platform/registry.h"
#include "qt/qt_document_opener.h"
#include "qt/qt_file_probe.h"
#include "qt/qt_form1.h"
#include "qt/qt_help_viewer.h"
#include "qt/qt_message_box.h"
#include "qt/qt_process_launcher.h"
#include "qt/qt_settings_store.h"
#include "reckoner/reckoner_evaluator.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

namespace {

// Notes the first paint of the widget it watches.
class PaintWatch final : public QObject
{
public:
    bool isPainted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            isPainted = true;
        return QObject::eventFilter(watched, event);
    }
};

struct Timing
{
    double wallSeconds;
    double cpuSeconds;
    double keySeconds;  // wall time until the key press was handled: the paste without painting
};

// A formula no line breaker finds a word boundary in, as a pasted long sum is.
QString longFormula(int length)
{
    QString text = QStringLiteral("1+").repeated(length / 2);
    if (text.size() < length)
        text += u'1';
    return text;
}

Timing timePaste(const char* boxName, const QString& text)
{
    const QTemporaryDir dir;
    QtSettingsStore settings(dir.filePath(QStringLiteral("settings.ini")));
    QtProcessLauncher launcher;
    QtDocumentOpener documents;
    QtHelpViewer help(documents, u"");
    QtFileProbe files;
    QtMessageBox messageBox(u"Sumwright");
    const std::unique_ptr<Registry> registry = makeSystemRegistry();
    ReckonerEvaluator evaluator;
    QtForm1 form({settings, help, evaluator, u'.'}, AppInfo{u"Sumwright", 1, 0, 0},
                 {*registry, files, launcher, messageBox});
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "the window was not shown\n");
        std::exit(EXIT_FAILURE);
    }
    QWidget* const box = form.findChild<QWidget*>(QString::fromLatin1(boxName));
    if (box == nullptr) {
        std::fprintf(stderr, "no box named %s\n", boxName);
        std::exit(EXIT_FAILURE);
    }
    box->setFocus();
    QApplication::clipboard()->setText(text);
    QCoreApplication::processEvents();

    // A plain text edit paints its text on its viewport, not on itself.
    const auto* const scrolled = qobject_cast<QAbstractScrollArea*>(box);
    QWidget* const canvas = scrolled != nullptr ? scrolled->viewport() : box;
    PaintWatch watch;
    canvas->installEventFilter(&watch);

    QElapsedTimer wall;
    const std::clock_t cpuStart = std::clock();
    wall.start();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    const double keySeconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    while (!watch.isPainted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const Timing timing{static_cast<double>(wall.nsecsElapsed()) / 1e9,
                        static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC,
                        keySeconds};
    canvas->removeEventFilter(&watch);

    const QString pasted = scrolled != nullptr ? qobject_cast<QPlainTextEdit*>(box)->toPlainText()
                                               : box->property("text").toString();
    if (pasted != text) {
        std::fprintf(stderr, "%s holds %lld units, not the %lld pasted\n", boxName,
                     static_cast<long long>(pasted.size()), static_cast<long long>(text.size()));
        std::exit(EXIT_FAILURE);
    }
    return timing;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::vector<const char*> boxes = {"Text1", "Text2", "Text3", "Text4"};
    int next = 1;
    if (argc > 2 && std::strcmp(argv[1], "--box") == 0) {
        boxes = {argv[2]};
        next = 3;
    }
    const int runs = argc > next ? std::max(1, std::atoi(argv[next])) : 3;
    std::vector<int> lengths;
    for (int i = next + 1; i < argc; ++i)
        lengths.push_back(std::atoi(argv[i]));
    if (lengths.empty())
        lengths = {200000, 1000000};

    std::printf("%-6s %9s %10s %10s %10s  (median of %d)\n", "box", "length", "wall s", "CPU s",
                "paste s", runs);
    for (const char* box : boxes) {
        for (const int length : lengths) {
            const QString text = longFormula(length);
            std::vector<Timing> timings;
            for (int run = 0; run < runs; ++run)
                timings.push_back(timePaste(box, text));
            std::sort(timings.begin(), timings.end(), [](const Timing& a, const Timing& b) {
                return a.wallSeconds < b.wallSeconds;
            });
            const Timing& median = timings[timings.size() / 2];
            std::printf("%-6s %9d %10.3f %10.3f %10.3f\n", box, length, median.wallSeconds,
                        median.cpuSeconds, median.keySeconds);
            std::fflush(stdout);
        }
    }
    return EXIT_SUCCESS;
}
