#include "qt/qt_form1.h"

#include "eval/limits.h"
#include "eval/messages.h"
#include "forms/form1.h"
#include "qt/qt_history_platform.h"
#include "qt/qt_settings_store.h"

#include "support/qt_form1_fixture.h"
#include "support/status_messages.h"
#include "support/text_fit.h"

#include <QAccessible>
#include <QClipboard>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr char InputChanged[] = "Input has changed since the last evaluation.";
const char* const FormulaBoxes[] = {"Text1", "Text2", "Text3", "Text4"};
const char* const ResultBoxes[] = {"Text5", "Text6", "Text7", "Text8"};
const char* const AllBoxes[] = {"Text1", "Text2", "Text3", "Text4",
                                "Text5", "Text6", "Text7", "Text8"};
using Form1Fixture = QtForm1Fixture;

}  // namespace

TEST(QtForm1, StartsTitledWithFocusInTheMainFormula)
{
    Form1Fixture f;
    f.make();
    f.showAndWait();
    EXPECT_EQ(f.form->windowTitle(), "Sumwright");
    EXPECT_EQ(f.form->focusWidget(), f.widget("Text1"));
}

TEST(QtForm1, TheStatusLabelIsReadAsItsMessage)
{
    Form1Fixture f;
    f.make();
    f.showAndWait();
    f.setText("Text1", "1+");
    f.trigger("mnuEvaluate");
    QAccessibleInterface* const status = QAccessible::queryAccessibleInterface(f.widget("Label6"));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(QAccessible::Name),
              "Syntax error:  a valid mathematical formula has not been entered.");
    EXPECT_EQ(status->text(QAccessible::Description), "Status");
}

TEST(QtForm1, EveryFormulaBoxRaisesItsChangeAndNoResultBoxDoes)
{
    for (const char* name : FormulaBoxes) {
        SCOPED_TRACE(name);
        Form1Fixture f;
        f.make();
        f.type(name, "1");
        EXPECT_EQ(f.status(), InputChanged);
    }
    Form1Fixture f;
    f.make();
    for (const char* name : ResultBoxes)
        f.setText(name, "7");
    EXPECT_EQ(f.status(), "");
}

TEST(QtForm1, SaveInputOnExitFlipsOncePerChoice)
{
    Form1Fixture f;
    f.make();
    QAction* const save = f.action("mnuSave");
    EXPECT_FALSE(save->isChecked());
    f.trigger("mnuSave");
    EXPECT_TRUE(save->isChecked());
    f.trigger("mnuSave");
    EXPECT_FALSE(save->isChecked());
}

TEST(QtForm1, ClosingStoresOnceWhicheverWay)
{
    using Close = std::function<void(Form1Fixture&)>;
    const std::pair<const char*, Close> ways[] = {
        {"close box", [](Form1Fixture& f) { f.form->close(); }},
        {"Exit", [](Form1Fixture& f) { f.trigger("mnuExit"); }},
    };
    for (const auto& [name, close] : ways) {
        SCOPED_TRACE(name);
        Form1Fixture f;
        f.make();
        f.showAndWait();
        close(f);
        EXPECT_FALSE(f.form->isVisible());
        const std::vector<FakeSettingsStore::Write> once = {{u"SaveIndicator", u"False"}};
        EXPECT_EQ(f.fakeStore.written, once);
    }
}

TEST(QtForm1, HelpContentsOpensTheManual)
{
    Form1Fixture f;
    f.make();
    f.trigger("mnuHelpContents");
    EXPECT_EQ(f.help.shown, 1);
}

TEST(QtForm1, TabFollowsTheTabIndexAndInsertsNoTab)
{
    Form1Fixture f;
    f.make();
    f.showAndWait();
    QApplication::setActiveWindow(f.form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.form.get()));
    f.widget("Text1")->setFocus();
    const char* const order[] = {"Text2", "Text3", "Text4", "Command1", "Text5",
                                 "Text6", "Text7", "Text8", "Text1"};
    for (const char* name : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), f.widget(name)) << name;
    }
    EXPECT_EQ(f.text("Text1"), "");  // Tab moved on and inserted nothing
}

TEST(QtForm1, EnterBreaksTheMainFormulaAndNeitherEnterNorEscActsElsewhere)
{
    Form1Fixture f;
    f.make();
    f.showAndWait();
    f.type("Text1", "1+");
    QTest::keyClick(f.widget("Text1"), Qt::Key_Return);
    f.type("Text1", "2");
    EXPECT_EQ(f.text("Text1"), "1+\n2");

    f.setText("Text4", "5");
    QTest::keyClick(f.widget("Text4"), Qt::Key_Return);
    EXPECT_EQ(f.text("Text8"), "");  // not evaluated
    EXPECT_EQ(f.status(), InputChanged);
    for (const char* const name : {"Text1", "Text2", "Text3", "Text4", "Command1", "Text5",
                                   "Text6", "Text7", "Text8"}) {
        SCOPED_TRACE(name);
        QTest::keyClick(f.widget(name), Qt::Key_Escape);
        EXPECT_TRUE(f.form->isVisible());
        EXPECT_EQ(f.text("Text1"), "1+\n2");
    }
}

TEST(QtForm1, RunsTheWorkedExampleTypedAndClicked)
{
    Form1Fixture f;
    f.make();
    f.showAndWait();
    f.type("Text1", "x^2+y");
    f.type("Text2", "z+1.5");
    f.type("Text3", "3");
    f.type("Text4", "1.5");
    QTest::mouseClick(f.widget("Command1"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.status() != InputChanged; }));
    const std::vector<QString> expected = {"x^2+y", "z+1.5", "3", "1.5", "12", "3", "3", "1.5",
                                           " Evaluation successful."};
    EXPECT_EQ(f.everything(), expected);
}

TEST(QtForm1, EvaluateButtonSpaceKeyAndMenuGiveTheSameOutcome)
{
    struct Row { const char* main; const char* x; const char* y; const char* z; };
    const Row rows[] = {
        {"x^2+y", "z+1.5", "3", "1.5"},
        {"", "", "", ""},
        {"x", "1", "3+", "2"},
    };
    using Run = std::function<void(Form1Fixture&)>;
    const std::pair<const char*, Run> routes[] = {
        {"button",
         [](Form1Fixture& f) { QTest::mouseClick(f.widget("Command1"), Qt::LeftButton); }},
        {"space", [](Form1Fixture& f) { QTest::keyClick(f.widget("Command1"), Qt::Key_Space); }},
        {"menu", [](Form1Fixture& f) { f.trigger("mnuEvaluate"); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.main);
        std::vector<std::vector<QString>> outcomes;
        for (const auto& [route, run] : routes) {
            Form1Fixture f;
            f.make();
            f.showAndWait();
            for (const char* name : ResultBoxes)
                f.setText(name, "old");
            f.enterFormulas(row.main, row.x, row.y, row.z);
            run(f);
            outcomes.push_back(f.everything());
        }
        EXPECT_NE(outcomes[0].back(), InputChanged);  // the run wrote its message
        EXPECT_EQ(outcomes[1], outcomes[0]);
        EXPECT_EQ(outcomes[2], outcomes[0]);
    }
}

TEST(QtForm1, TakesOverLongFormulasAndReportsThem)
{
    const std::pair<const char*, const char*> rows[] = {
        {"Text1", "The formula is too long: a formula may have at most 32767 characters."},
        {"Text2", "The formula for X is too long: a formula may have at most 32767 characters."},
        {"Text3", "The formula for Y is too long: a formula may have at most 32767 characters."},
        {"Text4", "The formula for Z is too long: a formula may have at most 32767 characters."},
    };
    const QString longFormula = QStringLiteral("1+").repeated(20000) + QStringLiteral("1");
    for (const auto& [name, message] : rows) {
        SCOPED_TRACE(name);
        Form1Fixture f;
        f.make();
        f.setText(name, longFormula);
        EXPECT_EQ(f.text(name).size(), longFormula.size());  // nothing cut off
        f.trigger("mnuEvaluate");
        EXPECT_EQ(f.text("Text5"), " Error");
        EXPECT_EQ(f.status(), QString::fromLatin1(message));
    }
}

TEST(QtForm1, WrapsTheMainFormulaAnywhereOnlyPastTheLengthLimit)
{
    Form1Fixture f;
    f.make();
    auto* const box = qobject_cast<QPlainTextEdit*>(f.widget("Text1"));
    const auto expectWrap = [&](const QString& text, QTextOption::WrapMode mode) {
        EXPECT_EQ(box->wordWrapMode(), mode);
        EXPECT_EQ(f.text("Text1"), text);  // only the display changes
    };
    const QString limit(static_cast<qsizetype>(MaxFormulaLength), u'1');
    f.setText("Text1", limit);
    expectWrap(limit, QTextOption::WrapAtWordBoundaryOrAnywhere);
    QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_2);
    expectWrap(limit + "2", QTextOption::WrapAnywhere);
    QTest::keyClick(box, Qt::Key_Backspace);
    expectWrap(limit, QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QString far = QStringLiteral("1+").repeated(20000);
    f.setText("Text1", far);
    expectWrap(far, QTextOption::WrapAnywhere);
}

TEST(QtForm1, NoTextIsClippedWithTheLongestStatusMessage)
{
    Form1Fixture f;
    f.make();
    f.showAndWait();
    textfit::expectAllFit(f.form.get());
    const auto* const status = qobject_cast<QLabel*>(f.widget("Label6"));
    for (const std::u16string_view message : statusMessages()) {
        textfit::expectLabelFits(
            status, QString::fromUtf16(message.data(), static_cast<qsizetype>(message.size())));
    }
}

TEST(QtForm1, ResizingMovesNoControl)
{
    Form1Fixture f;
    f.make();
    f.showAndWait();
    std::vector<QRect> before;
    for (const char* name : AllBoxes)
        before.push_back(f.widget(name)->geometry());
    f.form->resize(f.form->width() * 2, f.form->height() * 2);
    QApplication::processEvents();
    std::vector<QRect> after;
    for (const char* name : AllBoxes)
        after.push_back(f.widget(name)->geometry());
    EXPECT_EQ(after, before);
}

TEST(QtForm1, SessionEndStoresLikeCloseAndACloseAfterIsHarmless)
{
    Form1Fixture f;
    f.fakeStore.put(u"SaveIndicator", u"True");
    f.make();
    f.enterFormulas("x", "1", "2", "3");
    f.form->saveInputForSessionEnd();
    const std::vector<FakeSettingsStore::Write> once = {
        {u"SaveIndicator", u"True"}, {u"Formula", u"x"}, {u"X", u"1"}, {u"Y", u"2"}, {u"Z", u"3"}};
    EXPECT_EQ(f.fakeStore.written, once);

    f.form->close();
    std::vector<FakeSettingsStore::Write> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(f.fakeStore.written, twice);  // the same values again
}

TEST(QtForm1, RoundTripsThroughARealSettingsFile)
{
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QtSettingsStore store(dir.filePath(QStringLiteral("settings.ini")));
    {
        Form1Fixture first(&store);
        first.make();
        first.showAndWait();
        first.trigger("mnuSave");
        first.type("Text1", " x^2");
        QTest::keyClick(first.widget("Text1"), Qt::Key_Return);
        first.type("Text1", "+y, ");
        first.type("Text2", "z+1.5");
        first.type("Text4", " 1.5 ");
        first.form->close();
    }
    Form1Fixture second(&store);
    second.make();
    EXPECT_TRUE(second.action("mnuSave")->isChecked());
    const std::vector<QString> expected = {" x^2\n+y, ", "z+1.5", "", " 1.5 "};
    EXPECT_EQ(second.texts({"Text1", "Text2", "Text3", "Text4"}), expected);
    EXPECT_EQ(second.status(), "");
}

TEST(QtForm1, KeepsEveryUnitOfTheMainFormula)
{
    struct Row
    {
        const char* name;
        std::u16string restored;
        std::u16string typed;  // at the end of the restored formula
        bool isUndone;         // the typing, with Ctrl+Z
        std::u16string stored;
    };
    const Row rows[] = {
        {"typed no-break space", u"", u"1+\u00A02", false, u"1+\u00A02"},
        {"typed line separator", u"x", u"\u2028+1", false, u"x\u2028+1"},
        {"restored", u"1\u00A0\u2028\n\x01+\xD800", u"", false, u"1\u00A0\u2028\n\x01+\xD800"},
        // units the box can only show as line breaks
        {"CR LF and more", u"\r\n+\r+\u2029+\uFDD0", u"", false, u"\r\n+\r+\u2029+\uFDD0"},
        {"CR LF, then edited", u"x\r\n+1", u"2", false, u"x\n+12"},
        {"CR LF, edited and undone", u"x\r\n+1", u"2", true, u"x\r\n+1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Form1Fixture f;
        f.fakeStore.put(u"SaveIndicator", u"True");
        f.fakeStore.put(u"Formula", row.restored);
        f.make();
        QWidget* const box = f.widget("Text1");
        QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
        for (const char16_t unit : row.typed) {  // keyClicks takes ASCII only
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(QChar(unit)),
                                Qt::NoModifier);
        }
        if (row.isUndone)
            QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        f.form->close();
        const std::u16string* const stored = f.fakeStore.find(u"Formula");
        ASSERT_NE(stored, nullptr);
        EXPECT_TRUE(*stored == row.stored)
            << testing::PrintToString(QString::fromStdU16String(*stored).toStdString());
    }
}

TEST(QtForm1, ShowsOneModelessOwnerlessDialog)
{
    Form1Fixture f;
    f.make();
    f.showAndWait();
    f.trigger("mnuAbout");
    QWidget* const about = f.about();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->parentWidget(), nullptr);
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(about->windowTitle(), "About Sumwright");

    f.trigger("mnuAbout");
    EXPECT_EQ(f.about(), about);

    // the main window stays usable
    f.enterFormulas("x^2+y", "z+1.5", "3", "1.5");
    f.trigger("mnuEvaluate");
    EXPECT_EQ(f.text("Text5"), "12");

    QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("cmdSysInfo")),
                      Qt::LeftButton);
    EXPECT_EQ(f.messageBox.shown,  // no registry here
              std::vector<std::u16string>{u"System Information Is Unavailable At This Time"});
}

TEST(QtForm1, ReopeningAfterACloseUsesTheSameDialog)
{
    Form1Fixture f;
    f.make();
    f.trigger("mnuAbout");
    QWidget* const first = f.about();
    ASSERT_NE(first, nullptr);
    first->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !first->isVisible(); }));
    EXPECT_EQ(f.about(), nullptr);
    f.trigger("mnuAbout");
    EXPECT_EQ(f.about(), first);
}

TEST(QtForm1, OutlivesTheMainWindowUntilItIsClosed)
{
    ASSERT_TRUE(QApplication::quitOnLastWindowClosed());
    Form1Fixture f;
    f.make();
    f.showAndWait();
    f.trigger("mnuAbout");
    QWidget* const about = f.about();
    ASSERT_NE(about, nullptr);

    f.trigger("mnuExit");
    EXPECT_FALSE(f.form->isVisible());
    EXPECT_TRUE(about->isVisible());

    // The event loop must run on with the dialog open, and end once it is closed.
    bool isOpenInLoop = false;
    QTimer::singleShot(0, about, [&] {
        isOpenInLoop = about->isVisible();
        about->close();
    });
    QTimer safetyNet;
    safetyNet.setSingleShot(true);
    QObject::connect(&safetyNet, &QTimer::timeout, [] { QCoreApplication::exit(2); });
    safetyNet.start(10000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(isOpenInLoop);
}

TEST(QtForm1, AProblemTakesTheFocusToItsBoxWithTheProblemSelected)
{
    struct Row
    {
        const char* main;
        const char* y;
        const char* box;
        QString selected;
        int caret;
        QString description;
    };
    const Row rows[] = {
        {"1+\nfoo(2)", "", "Text1", "foo", 6,
         "The formula contains invalid symbols or functions, or no formula has been entered. "
         "Problem at characters 4 to 6."},
        {"y", "2*)", "Text3", ")", 3,
         "Syntax error:  a valid mathematical formula for Y has not been entered. "
         "Problem at character 3."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.box);
        Form1Fixture f;
        f.make();
        f.showAndWait();
        QApplication::setActiveWindow(f.form.get());
        f.enterFormulas(row.main, "", row.y, "");
        QTest::mouseClick(f.widget("Command1"), Qt::LeftButton);
        QWidget* const box = f.widget(row.box);
        EXPECT_EQ(QApplication::focusWidget(), box);
        if (auto* const line = qobject_cast<QLineEdit*>(box)) {
            EXPECT_EQ(line->selectedText(), row.selected);
            EXPECT_EQ(line->cursorPosition(), row.caret);
        } else {
            const QTextCursor cursor = qobject_cast<QPlainTextEdit*>(box)->textCursor();
            EXPECT_EQ(cursor.selectedText(), row.selected);
            EXPECT_EQ(cursor.position(), row.caret);
        }
        EXPECT_EQ(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Description),
                  row.description);
    }
}

TEST(QtForm1, TheHistoryWindowListsTheRunsAndItsKeysActOnTheSelectedOne)
{
    Form1Fixture f;
    f.make();
    f.showAndWait();
    f.enterFormulas("x^2+y", "z+1.5", "3", "1.5");
    f.trigger("mnuEvaluate");
    f.setText("Text4", "2");
    f.trigger("mnuEvaluate");
    f.trigger("mnuClearAll");

    f.trigger("mnuHistory");
    QWidget* const window = f.historyWindow();
    ASSERT_NE(window, nullptr);
    auto* const list = window->findChild<QTreeWidget*>(QStringLiteral("lstHistory"));
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(1), "15.25");  // newest first
    EXPECT_TRUE(list->topLevelItem(1)->data(0, Qt::AccessibleTextRole).toString().startsWith(
        "x^2+y = 12, "));  // then the time, in words that depend on today

    list->setFocus();
    list->setCurrentItem(list->topLevelItem(1));
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    const QMimeData* const copied = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(copied->text(), "x^2+y = 12");
    EXPECT_TRUE(copied->data(QString::fromLatin1(HistoryEntryMimeType)).startsWith("{\"time\""));

    QTest::keyClick(list, Qt::Key_Return);
    const std::vector<QString> used = {"x^2+y", "z+1.5", "3", "1.5", "", "", "", "",
                                       InputChanged};
    EXPECT_EQ(f.everything(), used);

    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(list->topLevelItemCount(), 1);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_EQ(f.historyWindow(), nullptr);
}
