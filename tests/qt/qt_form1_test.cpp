#include "qt/qt_form1.h"

#include "eval/limits.h"
#include "eval/messages.h"
#include "platform/platform_error.h"
#include "qt/qt_settings_store.h"

#include "fakes/fake_document_opener.h"
#include "fakes/fake_process_launcher.h"
#include "fakes/fake_settings_store.h"
#include "support/text_fit.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr char InputChanged[] = "Input has changed since the last evaluation.";
const char* const FormulaBoxes[] = {"Text1", "Text2", "Text3", "Text4"};
const char* const ResultBoxes[] = {"Text5", "Text6", "Text7", "Text8"};
const char* const AllBoxes[] = {"Text1", "Text2", "Text3", "Text4",
                                "Text5", "Text6", "Text7", "Text8"};

// The Qt Form1 built on fakes. The window is created by make(), after a test has filled the store.
struct Form1Fixture
{
    explicit Form1Fixture(SettingsStore* realStore = nullptr) : store(realStore) {}

    QtForm1& make(const std::u16string& manual = u"/doc/help/index.html")
    {
        SettingsStore& settings = store != nullptr ? *store : fakeStore;
        form = std::make_unique<QtForm1>(Form1Platform{settings, launcher, documents, manual,
                                                     AppInfo{u"Sumwright", 1, 0, 6},
                                                     [this] { ++sysInfoRuns; }});
        return *form;
    }
    void showAndWait()
    {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    QWidget* widget(const char* name) const
    {
        QWidget* const found = form->findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAction* action(const char* name) const
    {
        QAction* const found = form->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void trigger(const char* name) const { action(name)->trigger(); }

    QString text(const char* name) const
    {
        QWidget* const w = widget(name);
        if (auto* const edit = qobject_cast<QLineEdit*>(w))
            return edit->text();
        if (auto* const plain = qobject_cast<QPlainTextEdit*>(w))
            return plain->toPlainText();
        return qobject_cast<QLabel*>(w)->text();
    }
    QString status() const { return text("Label6"); }
    void setText(const char* name, const QString& value) const
    {
        QWidget* const w = widget(name);
        if (auto* const edit = qobject_cast<QLineEdit*>(w))
            edit->setText(value);
        else
            qobject_cast<QPlainTextEdit*>(w)->setPlainText(value);
    }
    void type(const char* name, const QString& keys) const
    {
        QTest::keyClicks(widget(name), keys);
    }
    std::vector<QString> texts(const std::vector<const char*>& names) const
    {
        std::vector<QString> result;
        for (const char* name : names)
            result.push_back(text(name));
        return result;
    }
    std::vector<QString> everything() const
    {
        return texts({"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8",
                      "Label6"});
    }
    void enterFormulas(const QString& main, const QString& x, const QString& y,
                       const QString& z) const
    {
        setText("Text1", main);
        setText("Text2", x);
        setText("Text3", y);
        setText("Text4", z);
    }
    QWidget* about() const
    {
        QWidget* found = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QStringLiteral("frmAbout") && window->isVisible()) {
                EXPECT_EQ(found, nullptr) << "more than one About dialog";
                found = window;
            }
        }
        return found;
    }

    SettingsStore* store;
    FakeSettingsStore fakeStore;
    FakeProcessLauncher launcher;
    FakeDocumentOpener documents;
    int sysInfoRuns = 0;
    std::unique_ptr<QtForm1> form;
};

}  // namespace

TEST(Form1Menu, HasEveryItemInOrderWithAccessKeysAndNoShortcuts)
{
    struct Item
    {
        const char* name;
        const char* caption;  // empty for a separator
        bool isVisible;
        bool isEnabled;
        bool isCheckable;
    };
    const std::vector<Item> options = {
        {"mnuClearVariables", "&Clear Variables", true, true, false},
        {"mnuClearAll", "Clear &All", true, true, false},
        {"mnuUDF", "User Defined Functions...", false, false, false},
        {"mnuEvaluate", "&Evaluate Formula", true, true, false},
        {"OptionSeaparator1", "", true, true, false},
        {"mnuSave", "&Save Input on Exit", true, true, true},
        {"OptionsSeparator2", "", true, true, false},
        {"mnuExit", "E&xit", true, true, false},
    };
    const std::vector<Item> help = {
        {"mnuHelpContents", "&Contents...", true, true, false},
        {"HelpSeparator1", "", true, true, false},
        {"mnuAbout", "&About Sumwright...", true, true, false},
    };
    Form1Fixture f;
    QtForm1& form = f.make();
    const QList<QAction*> bar = form.menuBar()->actions();
    ASSERT_EQ(bar.size(), 2);
    const std::pair<const char*, const std::vector<Item>*> menus[] = {{"&Options", &options},
                                                                     {"&Help", &help}};
    for (int m = 0; m < 2; ++m) {
        SCOPED_TRACE(menus[m].first);
        EXPECT_EQ(bar[m]->text(), QString::fromLatin1(menus[m].first));
        ASSERT_NE(bar[m]->menu(), nullptr);
        const QList<QAction*> items = bar[m]->menu()->actions();
        const std::vector<Item>& expected = *menus[m].second;
        ASSERT_EQ(items.size(), static_cast<qsizetype>(expected.size()));
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const QAction* item = items[static_cast<qsizetype>(i)];
            SCOPED_TRACE(expected[i].name);
            EXPECT_EQ(item->objectName(), QString::fromLatin1(expected[i].name));
            EXPECT_EQ(item->isSeparator(), *expected[i].caption == '\0');
            EXPECT_EQ(item->text(), QString::fromLatin1(expected[i].caption));
            EXPECT_EQ(item->isVisible(), expected[i].isVisible);
            EXPECT_EQ(item->isEnabled(), expected[i].isEnabled);
            EXPECT_EQ(item->isCheckable(), expected[i].isCheckable);
            EXPECT_FALSE(item->isChecked());
            EXPECT_TRUE(item->shortcut().isEmpty());
        }
    }
    EXPECT_EQ(bar[0]->objectName(), "mnuOptions");
    EXPECT_EQ(bar[1]->objectName(), "mnuHelp");
}

TEST(QtForm1, StartsEmptyUncheckedWithFocusInTheMainFormula)
{
    Form1Fixture f;
    f.make();
    f.showAndWait();
    for (const char* name : AllBoxes)
        EXPECT_EQ(f.text(name), "") << name;
    EXPECT_EQ(f.status(), "");
    EXPECT_FALSE(f.action("mnuSave")->isChecked());
    EXPECT_EQ(f.form->windowTitle(), "Sumwright");
    EXPECT_EQ(f.form->focusWidget(), f.widget("Text1"));
    EXPECT_EQ(f.fakeStore.asked, std::vector<std::u16string>{u"SaveIndicator"});
}

TEST(QtForm1, HasEveryControlWithItsKindContainerAndCaption)
{
    struct Row { const char* name; const char* kind; const char* container; const char* caption; };
    const Row rows[] = {
        {"Frame1", "QGroupBox", "client", "Input"},   {"Label1", "QLabel", "Frame1", "Formula"},
        {"Text1", "QPlainTextEdit", "Frame1", ""},    {"Label2", "QLabel", "Frame1", "X"},
        {"Text2", "QLineEdit", "Frame1", ""},         {"Label3", "QLabel", "Frame1", "Y"},
        {"Text3", "QLineEdit", "Frame1", ""},         {"Label4", "QLabel", "Frame1", "Z"},
        {"Text4", "QLineEdit", "Frame1", ""},         {"Frame2", "QGroupBox", "client", "Results"},
        {"Text5", "QLineEdit", "Frame2", ""},         {"Label8", "QLabel", "Frame2", "X"},
        {"Text6", "QLineEdit", "Frame2", ""},         {"Label9", "QLabel", "Frame2", "Y"},
        {"Text7", "QLineEdit", "Frame2", ""},         {"Label10", "QLabel", "Frame2", "Z"},
        {"Text8", "QLineEdit", "Frame2", ""},         {"Label7", "QLabel", "client", "Status"},
        {"Label6", "QLabel", "client", ""},
        {"Command1", "QPushButton", "client", "Evaluate"},
    };
    Form1Fixture f;
    f.make();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget* const w = f.widget(row.name);
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(w->metaObject()->className(), row.kind);
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromLatin1(row.container));
        QString caption;
        if (auto* const frame = qobject_cast<QGroupBox*>(w))
            caption = frame->title();
        else if (auto* const button = qobject_cast<QPushButton*>(w))
            caption = button->text();
        else
            caption = f.text(row.name);
        EXPECT_EQ(caption, QString::fromLatin1(row.caption));
    }
    for (const char* name : ResultBoxes) {
        auto* const box = qobject_cast<QLineEdit*>(f.widget(name));
        EXPECT_TRUE(box->isReadOnly()) << name;
        box->setText(QStringLiteral("12"));
        box->selectAll();  // a result can be copied
        EXPECT_EQ(box->selectedText(), "12") << name;
    }
    for (const char* name : {"Text2", "Text3", "Text4"})
        EXPECT_FALSE(qobject_cast<QLineEdit*>(f.widget(name))->isReadOnly()) << name;
    auto* const text1 = qobject_cast<QPlainTextEdit*>(f.widget("Text1"));
    EXPECT_EQ(text1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(text1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_TRUE(qobject_cast<QLabel*>(f.widget("Label6"))->wordWrap());
    auto* const command1 = qobject_cast<QPushButton*>(f.widget("Command1"));
    EXPECT_FALSE(command1->isDefault());
    EXPECT_FALSE(command1->autoDefault());
}

TEST(QtForm1, NamesEveryBoxAndTheButtonForAccessibility)
{
    const std::pair<const char*, const char*> rows[] = {
        {"Text1", "Formula"},       {"Text2", "Formula for X"}, {"Text3", "Formula for Y"},
        {"Text4", "Formula for Z"}, {"Text5", "Result"},        {"Text6", "Value of X"},
        {"Text7", "Value of Y"},    {"Text8", "Value of Z"},    {"Command1", "Evaluate"},
    };
    Form1Fixture f;
    f.make();
    f.showAndWait();
    for (const auto& [name, accessibleName] : rows) {
        SCOPED_TRACE(name);
        QAccessibleInterface* const face = QAccessible::queryAccessibleInterface(f.widget(name));
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->text(QAccessible::Name), QString::fromLatin1(accessibleName));
    }
    f.setText("Text1", "1+");
    f.trigger("mnuEvaluate");
    QAccessibleInterface* const status = QAccessible::queryAccessibleInterface(f.widget("Label6"));
    ASSERT_NE(status, nullptr);
    // The message itself is what a screen reader reads for the status label.
    EXPECT_EQ(status->text(QAccessible::Name),
              "Syntax error:  a valid mathematical formula has not been entered.");
    EXPECT_EQ(status->text(QAccessible::Description), "Status");
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
    QTest::keyClick(f.widget("Text4"), Qt::Key_Escape);
    EXPECT_EQ(f.text("Text8"), "");  // not evaluated
    EXPECT_EQ(f.status(), InputChanged);
    EXPECT_TRUE(f.form->isVisible());
}

TEST(QtForm1, TypingInAnyFormulaBoxSetsTheStatusAndKeepsTheResults)
{
    for (const char* name : FormulaBoxes) {
        SCOPED_TRACE(name);
        Form1Fixture f;
        f.make();
        f.enterFormulas("x^2+y", "z+1.5", "3", "1.5");
        f.trigger("mnuEvaluate");
        ASSERT_EQ(f.status(), " Evaluation successful.");
        const std::vector<QString> results = f.texts({"Text5", "Text6", "Text7", "Text8"});

        f.type(name, "1");

        EXPECT_EQ(f.status(), InputChanged);
        EXPECT_EQ(f.texts({"Text5", "Text6", "Text7", "Text8"}), results);
    }
}

TEST(QtForm1, ChangingAResultBoxLeavesTheStatus)
{
    Form1Fixture f;
    f.make();
    for (const char* name : ResultBoxes)
        f.setText(name, "7");
    EXPECT_EQ(f.status(), "");
}

TEST(QtForm1, ClearVariablesEmptiesOnlyTheVariableFormulas)
{
    Form1Fixture f;
    f.make();
    f.enterFormulas("x^2+y", "z+1.5", "3", "1.5");
    f.trigger("mnuEvaluate");

    f.trigger("mnuClearVariables");

    const std::vector<QString> expected = {"x^2+y", "", "", "", "12", "3", "3", "1.5",
                                           InputChanged};
    EXPECT_EQ(f.everything(), expected);
}

TEST(QtForm1, ClearAllEmptiesEveryBox)
{
    Form1Fixture f;
    f.make();
    f.enterFormulas("x^2+y", "z+1.5", "3", "1.5");
    f.trigger("mnuEvaluate");

    f.trigger("mnuClearAll");

    const std::vector<QString> expected = {"", "", "", "", "", "", "", "", InputChanged};
    EXPECT_EQ(f.everything(), expected);
}

TEST(QtForm1, ClearingEmptyBoxesChangesNothing)
{
    Form1Fixture f;
    f.make();
    f.setText("Text5", "7");
    f.trigger("mnuClearVariables");
    EXPECT_EQ(f.status(), "");
    f.trigger("mnuClearAll");
    EXPECT_EQ(f.status(), "");  // only the result box changed
    EXPECT_EQ(f.text("Text5"), "");
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

TEST(QtForm1, ShowsEachValueInItsOwnBox)
{
    Form1Fixture f;
    f.make();
    f.enterFormulas("x+y+z", "y*z", "z+1", "2");
    f.trigger("mnuEvaluate");
    const std::vector<QString> expected = {"x+y+z", "y*z", "z+1", "2", "11", "6", "3", "2",
                                           " Evaluation successful."};
    EXPECT_EQ(f.everything(), expected);
}

TEST(QtForm1, EvaluateButtonSpaceKeyAndMenuGiveTheSameOutcome)
{
    struct Row { const char* main; const char* x; const char* y; const char* z; };
    const Row rows[] = {
        {"x^2+y", "z+1.5", "3", "1.5"},
        {"", "", "", ""},
        {"1", "2-z", "", ""},
        {"x+1", "", "4", "2"},
        {"x", "1", "3+", "2"},
        {"1/0", "", "", ""},
        {"sqrt(-1)", "", "", ""},
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

TEST(QtForm1, AProblemLeavesTheBoxesTheRunDidNotReach)
{
    Form1Fixture f;
    f.make();
    f.enterFormulas("x^2+y", "z+1.5", "3", "1.5");
    f.trigger("mnuEvaluate");
    f.setText("Text4", "2");
    f.setText("Text3", "3+");
    f.trigger("mnuEvaluate");
    const std::vector<QString> expected = {
        "x^2+y", "z+1.5", "3+", "2", " Error", "3", "3", "2",
        "Syntax error:  a valid mathematical formula for Y has not been entered."};
    EXPECT_EQ(f.everything(), expected);
}

TEST(QtForm1, NoTextIsClippedWithTheLongestStatusMessage)
{
    Form1Fixture f;
    f.make();
    f.showAndWait();
    textfit::expectAllFit(f.form.get());
    const auto* const status = qobject_cast<QLabel*>(f.widget("Label6"));
    const Stage stages[] = {Stage::Z, Stage::Y, Stage::X, Stage::Main};
    std::vector<std::u16string_view> messages = {
        u" Evaluation successful.", u"Input has changed since the last evaluation."};
    for (const Stage stage : stages) {
        for (const char16_t* code : {u"1", u"2", u"3", u"4"})
            messages.push_back(codeMessage(stage, code));
        messages.push_back(tooLongMessage(stage));
        for (const Stage user : stages)
            messages.push_back(undefinedMessage(stage, user));
    }
    for (const std::u16string_view message : messages) {
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

TEST(Form1Persistence, RestoresAtLoadWithAQuietStatusLine)
{
    struct Row
    {
        const char* name;
        std::vector<std::pair<std::u16string, std::u16string>> stored;
        bool isChecked;
        std::vector<QString> boxes;  // Text1 to Text4
    };
    const Row rows[] = {
        {"nothing stored", {}, false, {"", "", "", ""}},
        {"true with texts",
         {{u"SaveIndicator", u"True"}, {u"Formula", u" x^2+y "}, {u"X", u"z+1.5"}, {u"Y", u"3"},
          {u"Z", u"1.5"}},
         true, {" x^2+y ", "z+1.5", "3", "1.5"}},
        {"true, X missing",
         {{u"SaveIndicator", u"true"}, {u"Formula", u"x"}, {u"Y", u"3"}, {u"Z", u"1"}},
         true, {"x", "", "3", "1"}},
        {"false with old texts", {{u"SaveIndicator", u"False"}, {u"Formula", u"x"}}, false,
         {"", "", "", ""}},
        {"minus one", {{u"SaveIndicator", u"-1"}, {u"Z", u"4"}}, true, {"", "", "", "4"}},
        {"zero", {{u"SaveIndicator", u"0"}, {u"Z", u"4"}}, false, {"", "", "", ""}},
        {"empty indicator", {{u"SaveIndicator", u""}, {u"Z", u"4"}}, false, {"", "", "", ""}},
        {"garbage indicator", {{u"SaveIndicator", u"yes"}, {u"Z", u"4"}}, false,
         {"", "", "", ""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Form1Fixture f;
        for (const auto& [key, value] : row.stored)
            f.fakeStore.put(key, value);
        f.make();
        EXPECT_EQ(f.action("mnuSave")->isChecked(), row.isChecked);
        EXPECT_EQ(f.texts({"Text1", "Text2", "Text3", "Text4"}), row.boxes);
        EXPECT_EQ(f.status(), "");
        EXPECT_TRUE(f.fakeStore.written.empty());
    }
}

TEST(Form1Persistence, StoresAtExitAndCloseOnlyWhenChecked)
{
    using Write = FakeSettingsStore::Write;
    struct Row
    {
        const char* name;
        bool isCheckedAtStart;
        int toggles;
        bool isClosedByMenu;
        std::vector<Write> written;
    };
    const std::vector<Write> all = {{u"SaveIndicator", u"True"}, {u"Formula", u" x^2+y "},
                                    {u"X", u""}, {u"Y", u"3"}, {u"Z", u"1.5 "}};
    const Row rows[] = {
        {"checked, closed", true, 0, false, all},
        {"checked, Exit", true, 0, true, all},
        {"checked, toggled twice", true, 2, true, all},
        {"unchecked, Exit", false, 0, true, {{u"SaveIndicator", u"False"}}},
        {"checked then unchecked", true, 1, false, {{u"SaveIndicator", u"False"}}},
        {"unchecked then checked", false, 1, true, all},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Form1Fixture f;
        f.fakeStore.put(u"SaveIndicator", row.isCheckedAtStart ? u"True" : u"False");
        f.make();
        f.showAndWait();
        f.enterFormulas(" x^2+y ", "", "3", "1.5 ");
        for (int i = 0; i < row.toggles; ++i)
            f.trigger("mnuSave");
        EXPECT_TRUE(f.fakeStore.written.empty());  // toggling stores nothing
        if (row.isClosedByMenu)
            f.trigger("mnuExit");
        else
            f.form->close();
        EXPECT_FALSE(f.form->isVisible());
        EXPECT_EQ(f.fakeStore.written, row.written);
    }
}

TEST(Form1Persistence, UncheckedExitKeepsTheTextsOfTheLastCheckedExit)
{
    Form1Fixture f;
    f.fakeStore.put(u"SaveIndicator", u"True");
    f.fakeStore.put(u"Formula", u"old");
    f.make();
    f.setText("Text1", "new");
    f.trigger("mnuSave");
    f.form->close();
    EXPECT_EQ(*f.fakeStore.find(u"SaveIndicator"), u"False");
    EXPECT_EQ(*f.fakeStore.find(u"Formula"), u"old");
}

TEST(Form1Persistence, SessionEndStoresLikeCloseAndACloseAfterIsHarmless)
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

TEST(Form1Persistence, RoundTripsThroughARealSettingsFile)
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

TEST(Form1Persistence, KeepsEveryUnitOfTheMainFormula)
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

TEST(Form1Persistence, AStoreThatRefusesTheWriteStopsTheUnloadWithTheReason)
{
    Form1Fixture f;
    f.fakeStore.put(u"SaveIndicator", u"True");
    f.make();
    f.setText("Text1", "x");
    f.fakeStore.failWrites = true;
    // The same unload as closing runs; the application shows the reason and ends.
    try {
        f.form->saveInputForSessionEnd();
        FAIL() << "no exception";
    } catch (const PlatformError& error) {
        EXPECT_STREQ(error.what(),
                     "Your input could not be saved. Cannot write settings.ini (access denied).");
    }
}

TEST(Form1Help, OpensTheManualAndIgnoresEveryFailure)
{
    Form1Fixture f;
    f.make(u"/opt/sumwright/help/index.html");
    f.trigger("mnuHelpContents");
    EXPECT_EQ(f.documents.opened, std::vector<std::u16string>{u"/opt/sumwright/help/index.html"});

    f.documents.failNext = true;
    EXPECT_NO_THROW(f.trigger("mnuHelpContents"));
    f.launcher.failAlways = true;
    EXPECT_NO_THROW(f.trigger("mnuHelpContents"));
    EXPECT_EQ(f.status(), "");  // the failure is not reported

    Form1Fixture notFound;
    notFound.make(u"");
    EXPECT_NO_THROW(notFound.trigger("mnuHelpContents"));
    EXPECT_TRUE(notFound.documents.opened.empty());
}

TEST(Form1About, ShowsOneModelessOwnerlessDialog)
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
    EXPECT_EQ(f.sysInfoRuns, 1);
}

TEST(Form1About, ReopeningAfterACloseUsesTheSameDialog)
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

TEST(Form1About, OutlivesTheMainWindowUntilItIsClosed)
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
