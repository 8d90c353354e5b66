#include "forms/frm_history.h"

#include "forms/frm_history_table.h"
#include "history/history_entry.h"

#include "fakes/fake_clipboard.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_form_view.h"
#include "fakes/fake_history_store.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_save_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace frmhistory;

const Formulas Worked{u"x^2+y", u"z+1.5", u"3", u"1.5"};
const Formulas Broken{u"1+,\"2\"\r\n", u"", u"", u""};
const Formulas Root{u"sqrt(2)", u"", u"", u""};

// The History window on a fake view, over a history of three evaluations a second apart.
struct HistoryWindowFixture
{
    FakeHistoryStore store;
    FakeClock clock;
    FakeMessageBox messageBox;
    SessionHistory history{store, clock, messageBox};
    FakeClipboard clipboard;
    FakeSaveDialog saveDialog;
    std::vector<Formulas> used;
    FakeFormView view{Table};
    frmHistory form{view, {history, clock, clipboard, saveDialog, messageBox,
                           [this](const Formulas& f) { used.push_back(f); }}};

    HistoryWindowFixture()
    {
        view.events = &form;
        history.start(false);
        history.record(Worked, {u"12", u"3", u"3", u"1.5", u" Evaluation successful.", {}}, true);
        history.record(Broken,
                       {u" Error", {}, {}, {}, u"Syntax error.", Problem{Stage::Main, 2, 1}},
                       false);
        history.record(Root, {u"1.4142135623731", {}, {}, {}, u" Evaluation successful.", {}},
                       false);
        form.Form_Load();
    }
    std::vector<std::u16string> mains() const
    {
        std::vector<std::u16string> result;
        for (const ListRow& row : view.rows)
            result.push_back(row.cells.at(0));
        return result;
    }
};

TEST(frmHistory, ShowsTheEntriesNewestFirstAndFindsWhatTheUserTypes)
{
    struct Row
    {
        std::u16string search;
        std::vector<std::u16string> mains;
        std::u16string count;
    };
    const Row rows[] = {
        {u"", {u"sqrt(2)", u"1+,\"2\" ", u"x^2+y"}, u"3 entries"},
        {u"X^2", {u"x^2+y"}, u"1 of 3 entries"},   // in any case
        {u" 1.5 ", {u"x^2+y"}, u"1 of 3 entries"},  // a formula for a variable
        {u"error", {u"1+,\"2\" "}, u"1 of 3 entries"},  // a result
        {u"1.41", {u"sqrt(2)"}, u"1 of 3 entries"},
        {u"zz", {}, u"0 of 3 entries"},
    };
    HistoryWindowFixture f;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.search));
        f.view.type(txtSearch, row.search);
        EXPECT_EQ(f.mains(), row.mains);
        EXPECT_EQ(f.view.text(lblCount), row.count);
        EXPECT_EQ(f.view.descriptions[static_cast<std::size_t>(lstHistory)], row.count);
    }
    f.view.type(txtSearch, u"");
    const ListRow worked{{u"x^2+y", u"12", u"23:10"}, u"x^2+y = 12, 23:10"};
    EXPECT_EQ(f.view.rows.back(), worked);

    f.history.record({u"7", u"", u"", u""}, {u"7", {}, {}, {}, u"", {}}, false);
    EXPECT_EQ(f.view.rows.front().cells.at(0), u"7");  // shown at once
}

TEST(frmHistory, CommandsActOnTheSelectedEntry)
{
    HistoryWindowFixture f;
    f.view.selectRow(lstHistory, 2);  // the worked example
    f.form.activate(lstHistory);
    f.form.click(cmdUse);
    EXPECT_EQ(f.used, (std::vector<Formulas>{Worked, Worked}));
    EXPECT_EQ(f.view.shown, (std::vector<FormId>{FormId::Form1, FormId::Form1}));

    f.form.key(lstHistory, ListKey::Copy);
    EXPECT_EQ(f.clipboard.text, u"x^2+y = 12");
    EXPECT_EQ(f.clipboard.entryLine, historyLine(f.history.entries().front()));

    f.view.selectRow(lstHistory, 1);
    f.form.key(lstHistory, ListKey::Delete);
    EXPECT_EQ(f.mains(), (std::vector<std::u16string>{u"sqrt(2)", u"x^2+y"}));
    EXPECT_EQ(f.view.selectedListRow, std::optional<std::size_t>(1));  // the next one
    f.form.click(cmdDelete);
    EXPECT_EQ(f.mains(), std::vector<std::u16string>{u"sqrt(2)"});
    EXPECT_EQ(f.store.calls, (std::vector<std::string>{"append x^2+y", "remove x^2+y"}));

    f.form.click(cmdClear);  // the user says No
    EXPECT_EQ(f.mains(), std::vector<std::u16string>{u"sqrt(2)"});
    f.messageBox.answersYes = true;
    f.form.click(cmdClear);
    EXPECT_TRUE(f.view.rows.empty());
    EXPECT_EQ(f.view.text(lblCount), u"0 entries");
    EXPECT_EQ(f.messageBox.shown,
              (std::vector<std::u16string>{ClearHistoryPrompt, ClearHistoryPrompt}));
    EXPECT_EQ(f.store.calls.back(), "clear");

    f.form.click(cmdUse);  // nothing selected: nothing happens
    f.form.click(cmdCopy);
    EXPECT_EQ(f.used.size(), 2u);
    f.form.click(cmdClose);
    EXPECT_EQ(f.view.closes, 1);
}

TEST(frmHistory, ExportsTheWholeHistoryAsCsvOrJsonLines)
{
    HistoryWindowFixture f;
    f.view.type(txtSearch, u"sqrt");  // the filter does not narrow what is exported
    f.saveDialog.choice = SaveChoice{u"h.csv", ExportFormat::Csv};
    f.form.click(cmdExport);
    f.saveDialog.choice = SaveChoice{u"h.jsonl", ExportFormat::JsonLines};
    f.form.click(cmdExport);

    EXPECT_EQ(f.saveDialog.files[u"h.csv"],
              "\xEF\xBB\xBFtime,main,x,y,z,result,x value,y value,z value,status\r\n"
              "\"2026-12-07T23:10:04Z\",\"x^2+y\",\"z+1.5\",\"3\",\"1.5\",\"12\",\"3\",\"3\","
              "\"1.5\",\" Evaluation successful.\"\r\n"
              "\"2026-12-07T23:10:05Z\",\"1+,\"\"2\"\"\r\n\",\"\",\"\",\"\",\" Error\",\"\",\"\","
              "\"\",\"Syntax error.\"\r\n"
              "\"2026-12-07T23:10:06Z\",\"sqrt(2)\",\"\",\"\",\"\",\"1.4142135623731\",\"\",\"\","
              "\"\",\" Evaluation successful.\"\r\n");
    std::string lines;
    for (const HistoryEntry& entry : f.history.entries())
        lines += historyLine(entry) + "\n";
    EXPECT_EQ(f.saveDialog.files[u"h.jsonl"], lines);

    f.saveDialog.refuses = true;
    f.form.click(cmdExport);
    EXPECT_EQ(f.messageBox.shown,
              std::vector<std::u16string>{
                  u"The history could not be exported. Cannot write history.csv: access denied."});
    f.saveDialog.choice.reset();  // cancelled: nothing is written, nothing said
    f.form.click(cmdExport);
    EXPECT_EQ(f.messageBox.shown.size(), 1u);
}

TEST(frmHistory, NamesTheTimeOfTodayByTheClockAndEarlierDaysByTheDateToo)
{
    const LocalTime today{2026, 12, 7, 23, 59};
    EXPECT_EQ(timeInWords({2026, 12, 7, 9, 5}, today), u"09:05");
    EXPECT_EQ(timeInWords({2026, 12, 6, 23, 10}, today), u"2026-12-06 23:10");
    EXPECT_EQ(timeInWords({2025, 12, 7, 0, 0}, today), u"2025-12-07 00:00");
}

}  // namespace
