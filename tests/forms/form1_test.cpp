#include "forms/form1.h"

#include "forms/form1_table.h"
#include "platform/platform_error.h"

#include "eval/evaluation_sequence.h"

#include "fakes/fake_clock.h"
#include "fakes/fake_evaluator.h"
#include "fakes/fake_form_view.h"
#include "fakes/fake_help_viewer.h"
#include "fakes/fake_history_store.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_settings_store.h"
#include "l10n/mo_bytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace form1;
using Texts = std::vector<std::u16string>;

const ControlId FormulaBoxes[] = {Text1, Text2, Text3, Text4};
const ControlId ResultBoxes[] = {Text5, Text6, Text7, Text8};

// Form1 on a fake view and fake platform. The form is loaded by load(), after a test has
// filled the store. The evaluator answers 1 to any text it was not told otherwise of.
struct Form1Fixture
{
    explicit Form1Fixture(char16_t decimalPoint = u'.',
                          const Catalog& catalog = englishCatalog())
        : form{view, {store, help, evaluator, decimalPoint, &history, catalog}}
    {
        view.events = &form;
    }

    FakeSettingsStore store;
    FakeHelpViewer help;
    FakeEvaluator evaluator;
    FakeHistoryStore historyStore;
    FakeClock clock;
    FakeMessageBox messageBox;
    SessionHistory history{historyStore, clock, messageBox};
    FakeFormView view{Table};
    Form1 form;

    Form1Fixture& load()
    {
        form.Form_Load();
        return *this;
    }
    std::u16string status() const { return view.text(Label6); }
    Texts texts(std::initializer_list<ControlId> controls) const
    {
        Texts result;
        for (const ControlId control : controls)
            result.push_back(view.text(control));
        return result;
    }
    Texts everything() const
    {
        return texts({Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Label6});
    }
    void enterFormulas(std::u16string_view main, std::u16string_view x, std::u16string_view y,
                       std::u16string_view z)
    {
        view.type(Text1, main);
        view.type(Text2, x);
        view.type(Text3, y);
        view.type(Text4, z);
    }
};

}  // namespace

TEST(Form1, StartsEmptyAndUncheckedWithNothingStored)
{
    Form1Fixture f;
    f.load();
    EXPECT_EQ(f.everything(), Texts(9));
    EXPECT_FALSE(f.view.isChecked(mnuSave));
    EXPECT_EQ(f.store.asked, std::vector<std::u16string>{u"SaveIndicator"});
}

TEST(Form1, TypingInAnyFormulaBoxSetsTheStatusAndKeepsTheResults)
{
    for (const ControlId box : FormulaBoxes) {
        SCOPED_TRACE(static_cast<int>(box));
        Form1Fixture f;
        f.load().enterFormulas(u"x^2+y", u"z+1.5", u"3", u"1.5");
        f.form.Command1_Click();
        ASSERT_EQ(f.status(), u" Evaluation successful.");
        const Texts results = f.texts({Text5, Text6, Text7, Text8});

        f.view.type(box, f.view.text(box) + u"1");

        EXPECT_EQ(f.status(), InputChangedText);
        EXPECT_EQ(f.texts({Text5, Text6, Text7, Text8}), results);
    }
}

TEST(Form1, ChangingAResultBoxLeavesTheStatus)
{
    Form1Fixture f;
    f.load();
    for (const ControlId box : ResultBoxes)
        f.view.setText(box, u"7");
    EXPECT_EQ(f.status(), u"");
}

TEST(Form1, ClearCommandsEmptyTheirBoxesAndMarkTheInputChanged)
{
    struct Row
    {
        const char* name;
        MenuId item;
        Texts expected;
    };
    const Row rows[] = {
        {"Clear Variables", mnuClearVariables,
         {u"x^2+y", u"", u"", u"", u"1", u"1", u"1", u"1", InputChangedText}},
        {"Clear All", mnuClearAll, {u"", u"", u"", u"", u"", u"", u"", u"", InputChangedText}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Form1Fixture f;
        f.load().enterFormulas(u"x^2+y", u"z+1.5", u"3", u"1.5");
        f.form.choose(mnuEvaluate);
        f.form.choose(row.item);
        EXPECT_EQ(f.everything(), row.expected);
    }
}

TEST(Form1, ClearingEmptyBoxesChangesNothing)
{
    Form1Fixture f;
    f.load();
    f.view.setText(Text5, u"7");
    f.form.choose(mnuClearVariables);
    EXPECT_EQ(f.status(), u"");
    f.form.choose(mnuClearAll);
    EXPECT_EQ(f.status(), u"");  // only the result box changed
    EXPECT_EQ(f.view.text(Text5), u"");
}

TEST(Form1, EvaluateShowsEachValueInItsOwnBoxAndLeavesWhatTheRunDidNotReach)
{
    Form1Fixture f;
    f.evaluator.script = {{u"a", {u"0", 4}}, {u"b", {u"0", 3}}, {u"c", {u"0", 2}},
                          {u"d", {u"0", 0.5}}, {u"e+", {u"2", 0, 1, 0}}};
    f.load().enterFormulas(u"a", u"b", u"c", u"d");
    f.form.click(Command1);
    EXPECT_EQ(f.everything(), (Texts{u"a", u"b", u"c", u"d", u"4", u"3", u"2", u"0.5",
                                     u" Evaluation successful."}));

    f.view.type(Text4, u"1");
    f.view.type(Text3, u"e+");
    f.form.choose(mnuEvaluate);  // the menu command does what the button does
    EXPECT_EQ(f.everything(),
              (Texts{u"a", u"b", u"e+", u"1", u" Error", u"3", u"2", u"1",
                     u"Syntax error:  a valid mathematical formula for Y has not been entered."}));
}

TEST(Form1, ShowsValuesWithTheUsersDecimalSeparator)
{
    Form1Fixture f(u',');
    f.evaluator.script = {{u"a", {u"0", 0.375}}, {u"b", {u"0", 1.5}}};
    f.enterFormulas(u"a", u"", u"", u"b");
    f.form.Command1_Click();
    EXPECT_EQ(f.view.text(Text8), u"1,5");
    EXPECT_EQ(f.view.text(Text5), u"0,375");
}

TEST(Form1, RestoresAtLoadWithAQuietStatusLine)
{
    struct Row
    {
        const char* name;
        std::vector<std::pair<std::u16string, std::u16string>> stored;
        bool isChecked;
        Texts boxes;  // Text1 to Text4
    };
    const Row rows[] = {
        {"nothing stored", {}, false, {u"", u"", u"", u""}},
        {"true with texts",
         {{u"SaveIndicator", u"True"}, {u"Formula", u" x^2+y "}, {u"X", u"z+1.5"}, {u"Y", u"3"},
          {u"Z", u"1.5"}},
         true, {u" x^2+y ", u"z+1.5", u"3", u"1.5"}},
        {"true, X missing",
         {{u"SaveIndicator", u"true"}, {u"Formula", u"x"}, {u"Y", u"3"}, {u"Z", u"1"}},
         true, {u"x", u"", u"3", u"1"}},
        {"false with old texts", {{u"SaveIndicator", u"False"}, {u"Formula", u"x"}}, false,
         {u"", u"", u"", u""}},
        {"minus one", {{u"SaveIndicator", u"-1"}, {u"Z", u"4"}}, true, {u"", u"", u"", u"4"}},
        {"zero", {{u"SaveIndicator", u"0"}, {u"Z", u"4"}}, false, {u"", u"", u"", u""}},
        {"empty indicator", {{u"SaveIndicator", u""}, {u"Z", u"4"}}, false,
         {u"", u"", u"", u""}},
        {"garbage indicator", {{u"SaveIndicator", u"yes"}, {u"Z", u"4"}}, false,
         {u"", u"", u"", u""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Form1Fixture f;
        for (const auto& [key, value] : row.stored)
            f.store.put(key, value);
        f.load();
        EXPECT_EQ(f.view.isChecked(mnuSave), row.isChecked);
        EXPECT_EQ(f.texts({Text1, Text2, Text3, Text4}), row.boxes);
        EXPECT_EQ(f.status(), u"");
        EXPECT_TRUE(f.store.written.empty());
    }
}

// Which values are stored is the settings' rule; here, that the check mark at unload decides
// it, whichever way the window closes, and that toggling stores nothing.
TEST(Form1, StoresAtUnloadWithTheCheckMarkOfThatMoment)
{
    using Write = FakeSettingsStore::Write;
    struct Row
    {
        const char* name;
        bool isCheckedAtStart;
        bool isClosedByMenu;  // else by the window's close box
        std::vector<Write> written;
    };
    const Row rows[] = {
        {"checked, then unchecked, closed", true, false, {{u"SaveIndicator", u"False"}}},
        {"unchecked, then checked, Exit", false, true,
         {{u"SaveIndicator", u"True"}, {u"Formula", u" x^2+y "}, {u"X", u""}, {u"Y", u"3"},
          {u"Z", u"1.5 "}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Form1Fixture f;
        f.store.put(u"SaveIndicator", row.isCheckedAtStart ? u"True" : u"False");
        f.load().enterFormulas(u" x^2+y ", u"", u"3", u"1.5 ");
        f.form.choose(mnuSave);
        EXPECT_EQ(f.view.isChecked(mnuSave), !row.isCheckedAtStart);
        EXPECT_TRUE(f.store.written.empty());  // toggling stores nothing
        if (row.isClosedByMenu)
            f.form.choose(mnuExit);
        else
            f.view.close();
        EXPECT_EQ(f.view.closes, 1);
        EXPECT_EQ(f.store.written, row.written);
    }
}

TEST(Form1, AStoreThatRefusesTheWriteStopsTheUnloadWithTheReason)
{
    Form1Fixture f;
    f.store.put(u"SaveIndicator", u"True");
    f.load();
    f.view.type(Text1, u"x");
    f.store.failWrites = true;
    try {
        f.form.Form_Unload();
        FAIL() << "no exception";
    } catch (const PlatformError& error) {
        EXPECT_STREQ(error.what(),
                     "Your input could not be saved. Cannot write settings.ini (access denied).");
    }
}

TEST(Form1, HelpIgnoresEveryFailure)
{
    Form1Fixture f;
    f.load();
    f.form.choose(mnuHelpContents);
    EXPECT_EQ(f.help.shown, 1);
    f.help.failAlways = true;
    EXPECT_NO_THROW(f.form.choose(mnuHelpContents));
    EXPECT_EQ(f.status(), u"");  // the failure is not reported
}

TEST(Form1, AboutShowsTheAboutFormEachTime)
{
    Form1Fixture f;
    f.load();
    f.form.choose(mnuAbout);
    f.form.choose(mnuAbout);
    EXPECT_EQ(f.view.shown, (std::vector<FormId>{FormId::frmAbout, FormId::frmAbout}));
    EXPECT_EQ(f.view.closes, 0);
}

TEST(Form1, AProblemTakesTheFocusToItsBoxSelectedAndSaysWhereItLies)
{
    using Selection = FakeFormView::Selection;
    struct Row
    {
        Formulas typed;
        FakeEvaluator::Answer answer;  // to the formula that fails, as the evaluator sees it
        Selection selection;
        std::u16string description;
    };
    const Row rows[] = {
        {{u"1+foo(2)", u"", u"", u""}, {u"1", 0, 2, 3}, {Text1, 2, 3},
         u"The formula contains invalid symbols or functions, or no formula has been entered. "
         u"Problem at characters 3 to 5."},
        {{u" 2*)", u"", u"", u""}, {u"2", 0, 2, 1}, {Text1, 3, 1},
         u"Syntax error:  a valid mathematical formula has not been entered. "
         u"Problem at character 4."},
        {{u"y", u"", u"3+", u""}, {u"2", 0, 2, 0}, {Text3, 2, 0},
         u"Syntax error:  a valid mathematical formula for Y has not been entered. "
         u"Problem at the end of the formula."},
        {{u"2*X", u"", u"", u""}, {}, {Text1, 2, 1},
         u"Undefined reference to variable X in the main formula. Problem at character 3."},
        {{u" 1+ ", u"", u"", u""}, {u"2", 0, 2, 0}, {Text1, 3, 0},
         u"Syntax error:  a valid mathematical formula has not been entered. "
         u"Problem between characters 3 and 4."},
        {{u"\t", u"", u"", u""}, {u"1", 0, 0, 0}, {Text1, 0, 0},
         u"The formula contains invalid symbols or functions, or no formula has been entered. "
         u"Problem at the start of the formula."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.description));
        Form1Fixture f;
        for (const std::u16string failing : {u"1+foo(2)", u"2*)", u"3+", u"1+", u"\t"})
            f.evaluator.script[failing] = row.answer;
        f.load().enterFormulas(row.typed.main, row.typed.x, row.typed.y, row.typed.z);
        f.form.click(Command1);
        EXPECT_EQ(f.view.selection, row.selection);
        for (const ControlId box : FormulaBoxes) {
            EXPECT_EQ(f.view.descriptions[static_cast<std::size_t>(box)],
                      box == row.selection.control ? row.description : u"");
        }
    }
}

TEST(Form1, SaysTheStatusAndThePlaceOfAProblemInTheCatalogsLanguage)
{
    const Catalog catalog = Catalog::fromMo(moBytes({
        {"Input has changed since the last evaluation.", "Changé."},
        {"Problem between characters %s and %s.", "Entre %2$s et %1$s."},
        {"Syntax error:  a valid mathematical formula has not been entered.", "Syntaxe."},
        {"Your input could not be saved. %s", "Entrée perdue : %s"},
    }));
    Form1Fixture f(u'.', catalog);
    f.evaluator.script[u"1+"] = {u"2", 0, 2, 0};
    f.load().enterFormulas(u" 1+ ", u"", u"", u"");
    EXPECT_EQ(f.status(), u"Changé.");
    f.form.click(Command1);
    EXPECT_EQ(f.status(), u"Syntaxe.");
    EXPECT_EQ(f.view.descriptions[static_cast<std::size_t>(Text1)], u"Syntaxe. Entre 4 et 3.");
    f.view.setChecked(mnuSave, true);
    f.store.failWrites = true;
    try {
        f.form.Form_Unload();
        FAIL() << "no exception";
    } catch (const PlatformError& error) {
        EXPECT_STREQ(error.what(), "Entrée perdue : Cannot write settings.ini (access denied).");
    }
}

TEST(Form1, TheNextEditOrEvaluationClearsWhatWasSaidOfAProblem)
{
    const auto described = [](const Form1Fixture& f) {
        return f.view.descriptions[static_cast<std::size_t>(Text3)];
    };
    Form1Fixture f;
    f.evaluator.script[u"3+"] = {u"2", 0, 2, 0};
    f.load().enterFormulas(u"1", u"", u"3+", u"");
    f.form.click(Command1);
    ASSERT_NE(described(f), u"");
    f.view.type(Text2, u"2");  // an edit in another box
    EXPECT_EQ(described(f), u"");

    f.form.click(Command1);
    ASSERT_NE(described(f), u"");
    f.view.type(Text3, u"3");
    f.view.selection.reset();
    f.form.click(Command1);  // succeeds
    EXPECT_EQ(described(f), u"");
    EXPECT_EQ(f.view.selection, std::nullopt);  // the focus stays where it was
}

TEST(Form1, RecordsEachEvaluationAndKeepsTheHistoryAsTheCheckMarkSays)
{
    Form1Fixture f;
    f.store.put(u"SaveIndicator", u"True");
    f.load().enterFormulas(u"a", u"", u"3+", u"");
    f.evaluator.script[u"3+"] = {u"2", 0, 2, 0};
    f.form.click(Command1);
    f.form.choose(mnuSave);  // unchecked: the next run is for this session only
    f.view.type(Text3, u"1");
    f.form.choose(mnuEvaluate);

    const std::vector<HistoryEntry>& entries = f.history.entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].input, (Formulas{u"a", u"", u"3+", u""}));
    EXPECT_EQ(entries[0].output.main, std::u16string(u" Error"));
    EXPECT_EQ(entries[1].output.status, std::u16string(SuccessText));
    EXPECT_EQ(f.historyStore.calls, (std::vector<std::string>{"append a", "load"}));

    f.form.choose(mnuSave);  // checked again: the session's entry is kept now
    EXPECT_EQ(f.historyStore.kept, entries);
}
