#include "win32/win32_form_window.h"

#include "forms/form1_spec.h"
#include "forms/frm_about_spec.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::string> namesInCreationOrder(const FormSpec& spec)
{
    std::vector<std::string> names;
    for (const ControlId id : creationOrder(spec))
        names.emplace_back(spec.control(id).name);
    return names;
}

TEST(Win32FormWindow, CreatesControlsInTabOrderEachBoxAfterItsLabel)
{
    const std::vector<std::string> form1 = {
        "Frame1", "Label1", "Text1", "Label2", "Text2", "Label3", "Text3", "Label4", "Text4",
        "Command1", "Frame2", "Text5", "Label8", "Text6", "Label9", "Text7", "Label10", "Text8",
        "Label7", "Label6"};
    EXPECT_EQ(namesInCreationOrder(form1::Spec), form1);
    const std::vector<std::string> about = {"cmdOK", "cmdSysInfo", "picIcon", "Label1",
                                            "lblDescription", "lblTitle", "lblVersion"};
    EXPECT_EQ(namesInCreationOrder(frmabout::Spec), about);
}

// One menu, as the user sees it: each entry's caption ("-" for a separator) and command id.
std::vector<std::pair<std::wstring, int>> entriesOf(HMENU menu)
{
    std::vector<std::pair<std::wstring, int>> entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t caption[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
        const bool isSeparator = (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) &
                                  MF_SEPARATOR) != 0;
        entries.emplace_back(isSeparator ? L"-" : caption,
                             static_cast<int>(GetMenuItemID(menu, i)));
    }
    return entries;
}

TEST(Win32FormWindow, BuildsTheMenuWithoutTheHiddenItem)
{
    using namespace form1;
    const UniqueMenu bar = buildMenu(Spec);
    const std::vector<std::pair<std::wstring, int>> top = {{L"&Options", -1}, {L"&Help", -1}};
    EXPECT_EQ(entriesOf(bar.get()), top);
    const std::vector<std::pair<std::wstring, int>> options = {
        {L"&Clear Variables", commandId(mnuClearVariables)},
        {L"Clear &All", commandId(mnuClearAll)},
        {L"&Evaluate Formula", commandId(mnuEvaluate)},
        {L"-", 0},
        {L"&Save Input on Exit", commandId(mnuSave)},
        {L"-", 0},
        {L"E&xit", commandId(mnuExit)},
    };
    EXPECT_EQ(entriesOf(GetSubMenu(bar.get(), 0)), options);
    const std::vector<std::pair<std::wstring, int>> help = {
        {L"&Contents...", commandId(mnuHelpContents)},
        {L"-", 0},
        {L"&About Sumwright...", commandId(mnuAbout)},
    };
    EXPECT_EQ(entriesOf(GetSubMenu(bar.get(), 1)), help);
    EXPECT_EQ(GetMenuState(bar.get(), commandId(menuNamed(Menu, "mnuUDF")), MF_BYCOMMAND),
              static_cast<UINT>(-1));
}

class NoHost final : public Win32FormHost
{
public:
    void show(FormId) override {}
    void destroyed(FormId) override {}
    void fail(std::exception_ptr) override {}
    bool hasFailed() const override { return false; }
};

class RecordedChanges final : public FormEvents
{
public:
    std::vector<ControlId> changes;
    void change(ControlId control) override { changes.push_back(control); }
    void Form_Load() override {}
};

TEST(Win32FormWindow, ATextChangesAndRaisesChangeOnlyWhenItDiffers)
{
    using namespace form1;
    struct Row
    {
        ControlId control;
        std::u16string text;
        std::vector<ControlId> changes;
    };
    const Row rows[] = {
        {Text1, u"x^2+y", {Text1}},  // multi-line boxes do not notify of program writes
        {Text1, u"x^2+y", {}},
        {Text1, u"1+\r\n2", {Text1}},
        {Text2, u"z+1.5", {Text2}},
        {Text2, u"z+1.5", {}},
        {Text2, u"", {Text2}},
        {Text5, u"12", {Text5}},
        {Label6, u" Evaluation successful.", {}},  // labels have no Change
        {Label6, u" Evaluation successful.", {}},
    };
    NoHost host;
    Win32Accessibility accessibility;
    Win32FormWindow window(Spec, FormId::Form1, host, accessibility, GetModuleHandleW(nullptr));
    RecordedChanges events;
    window.setEvents(events);
    window.load(nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.text));
        events.changes.clear();
        window.setText(row.control, row.text);
        EXPECT_EQ(events.changes, row.changes);
        EXPECT_EQ(window.text(row.control), row.text);
    }
    window.setChecked(mnuSave, true);
    EXPECT_TRUE(window.isChecked(mnuSave));
    window.setChecked(mnuSave, false);
    EXPECT_FALSE(window.isChecked(mnuSave));
}

}  // namespace
