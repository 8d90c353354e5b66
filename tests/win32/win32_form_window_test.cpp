#include "win32/win32_form_window.h"

#include "forms/form1_table.h"
#include "forms/frm_about_table.h"
#include "forms/frm_history_table.h"

#include "win32/no_form_host.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>

#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::string> namesInCreationOrder(const FormTable& table)
{
    std::vector<std::string> names;
    for (const ControlId id : creationOrder(table))
        names.emplace_back(table.control(id).name);
    return names;
}

TEST(Win32FormWindow, CreatesControlsInTabOrderEachBoxAfterItsLabel)
{
    const std::vector<std::string> form1 = {
        "Frame1", "Label1", "Text1", "Label2", "Text2", "Label3", "Text3", "Label4", "Text4",
        "Command1", "Frame2", "Text5", "Label8", "Text6", "Label9", "Text7", "Label10", "Text8",
        "Label7", "Label6"};
    EXPECT_EQ(namesInCreationOrder(form1::Table), form1);
    const std::vector<std::string> about = {"cmdOK", "cmdSysInfo", "picIcon", "Label1",
                                            "lblDescription", "lblTitle", "lblVersion"};
    EXPECT_EQ(namesInCreationOrder(frmabout::Table), about);
}

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
    Win32FormWindow window(Table, FormId::Form1, host, accessibility, GetModuleHandleW(nullptr));
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

// The control's place in the window's client area.
RECT placeOf(HWND control, HWND window)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST(Win32FormWindow, BuildsEachFormFromItsTable)
{
    const std::pair<const FormTable*, FormId> forms[] = {{&form1::Table, FormId::Form1},
                                                        {&frmabout::Table, FormId::frmAbout},
                                                        {&frmhistory::Table, FormId::frmHistory}};
    for (const auto& [table, id] : forms) {
        SCOPED_TRACE(std::string(table->name));
        NoHost host;
        Win32Accessibility accessibility;
        Win32FormWindow window(*table, id, host, accessibility, GetModuleHandleW(nullptr));
        RecordedChanges events;  // no Form_Load: the texts are the table's
        window.setEvents(events);
        window.load(nullptr);
        RECT client{};
        GetClientRect(window.window(), &client);
        // One scale for the whole form, taken from its client area.
        const auto scaled = [&](int twips, int extent, int pixels) {
            return static_cast<int>(std::lround(twips * static_cast<double>(pixels) / extent));
        };
        for (std::size_t i = 0; i < table->controls.size(); ++i) {
            const ControlRow& control = table->controls[i];
            SCOPED_TRACE(std::string(control.name));
            const HWND hwnd = GetDlgItem(window.window(), commandId(ControlId(i)));
            ASSERT_NE(hwnd, nullptr);
            wchar_t className[16] = {};
            GetClassNameW(hwnd, className, 16);
            const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
            const auto has = [style](DWORD bits) { return (style & bits) == bits; };
            switch (control.kind) {
            case ControlKind::Frame:
                EXPECT_EQ(_wcsicmp(className, L"Button"), 0) << className;
                EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_GROUPBOX));
                break;
            case ControlKind::Label:
            case ControlKind::PictureBox:
                EXPECT_EQ(_wcsicmp(className, L"Static"), 0) << className;
                EXPECT_EQ(has(SS_ICON), control.kind == ControlKind::PictureBox);
                break;
            case ControlKind::TextBox:
                EXPECT_EQ(_wcsicmp(className, L"Edit"), 0) << className;
                EXPECT_EQ(has(ES_MULTILINE), control.has(MultiLine));
                EXPECT_EQ(has(ES_READONLY), control.has(ReadOnly));
                break;
            case ControlKind::CommandButton:
                EXPECT_EQ(_wcsicmp(className, L"Button"), 0) << className;
                EXPECT_EQ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON, control.has(DefaultButton));
                break;
            case ControlKind::List: {
                EXPECT_EQ(_wcsicmp(className, WC_LISTVIEWW), 0) << className;
                EXPECT_EQ(style & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
                const std::vector<ColumnRow> columns = columnsOf(*table, ControlId(i));
                const auto header = reinterpret_cast<HWND>(
                    SendMessageW(hwnd, LVM_GETHEADER, 0, 0));
                ASSERT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0),
                          static_cast<LRESULT>(columns.size()));
                for (std::size_t c = 0; c < columns.size(); ++c) {
                    wchar_t heading[32] = {};
                    LVCOLUMNW column{};
                    column.mask = LVCF_TEXT;
                    column.pszText = heading;
                    column.cchTextMax = 32;
                    SendMessageW(hwnd, LVM_GETCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
                    EXPECT_EQ(std::wstring(heading), std::wstring(columns[c].caption.begin(),
                                                                   columns[c].caption.end()));
                }
                break;
            }
            }
            EXPECT_EQ(has(WS_TABSTOP), takesFocus(control.kind));
            if (control.kind != ControlKind::PictureBox) {
                EXPECT_EQ(window.text(ControlId(i)), control.caption);
            }

            TwipsRect place = control.place;
            if (const auto frame = frameOf(*table, ControlId(i))) {
                place.left += table->control(*frame).place.left;
                place.top += table->control(*frame).place.top;
            }
            const RECT rect = placeOf(hwnd, window.window());
            EXPECT_NEAR(rect.left, scaled(place.left, table->clientWidth, client.right), 1);
            EXPECT_NEAR(rect.top, scaled(place.top, table->clientHeight, client.bottom), 1);
            EXPECT_NEAR(rect.right, scaled(place.left + place.width, table->clientWidth,
                                           client.right), 1);
            EXPECT_NEAR(rect.bottom, scaled(place.top + place.height, table->clientHeight,
                                            client.bottom), 1);
        }
    }
}

}  // namespace
