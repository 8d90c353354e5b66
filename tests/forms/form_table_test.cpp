#include "forms/form_table.h"

#include "forms/form1_table.h"
#include "forms/frm_about_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A small table whose rows are out of tab order, with a tie and a frame after its control's
// label, to tell the rules apart from the forms' own order.
constexpr ControlRow Mixed[] = {
    {"Box", ControlKind::Frame, "", u"", {}, 0, u""},
    {"Later", ControlKind::TextBox, "Box", u"", {}, 5, u""},
    {"Caption", ControlKind::Label, "Box", u"", {}, 1, u""},
    {"First", ControlKind::CommandButton, "", u"", {}, 2, u"", CancelButton},
    {"Tied", ControlKind::TextBox, "", u"", {}, 5, u""},
    {"Icon", ControlKind::PictureBox, "", u"", {}, 3, u""},
    {"Default", ControlKind::CommandButton, "", u"", {}, 9, u"", DefaultButton | CancelButton},
};
constexpr MenuRow MixedMenu[] = {
    {"File", "", u"&File"},
    {"Quit", "File", u"&Quit"},
    {"Edit", "", u"&Edit"},
    {"Line", "Edit", u"-"},
    {"Copy", "Edit", u"&Copy"},
};
constexpr FormTable MixedTable{"Mixed", u"", 100, 100, true, Mixed, MixedMenu, {}};

std::string nameOr(const FormTable& table, std::optional<ControlId> id)
{
    return id ? std::string(table.control(*id).name) : "-";
}

TEST(FormTable, OrdersTheFocusByTabIndexTiesInTableOrder)
{
    struct Row
    {
        const FormTable* table;
        std::vector<std::string> order;
    };
    const Row rows[] = {
        {&form1::Table,
         {"Text1", "Text2", "Text3", "Text4", "Command1", "Text5", "Text6", "Text7", "Text8"}},
        {&frmabout::Table, {"cmdOK", "cmdSysInfo"}},
        {&MixedTable, {"First", "Later", "Tied", "Default"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.table->name));
        std::vector<std::string> names;
        for (const ControlId id : focusOrder(*row.table))
            names.emplace_back(row.table->control(id).name);
        EXPECT_EQ(names, row.order);
    }
}

TEST(FormTable, FindsEachControlsFrameEachItemsMenuAndTheSpecialButtons)
{
    using namespace form1;
    struct Row
    {
        std::string control;
        std::string frame;
    };
    const Row rows[] = {{"Text1", "Frame1"}, {"Label4", "Frame1"}, {"Text8", "Frame2"},
                        {"Frame1", "-"},     {"Label6", "-"},      {"Command1", "-"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.control);
        const ControlId id = controlNamed(Controls, row.control);
        EXPECT_EQ(nameOr(Table, frameOf(Table, id)), row.frame);
    }
    EXPECT_EQ(nameOr(MixedTable, frameOf(MixedTable, ControlId(1))), "Box");

    const auto menuOf = [](const FormTable& table, MenuId item) {
        const auto parent = parentOf(table, item);
        return parent ? std::string(table.item(*parent).name) : "-";
    };
    EXPECT_EQ(menuOf(Table, mnuSave), "mnuOptions");
    EXPECT_EQ(menuOf(Table, mnuAbout), "mnuHelp");
    EXPECT_EQ(menuOf(Table, menuNamed(Menu, "mnuHelp")), "-");
    EXPECT_EQ(menuOf(MixedTable, MenuId(4)), "Edit");

    EXPECT_EQ(nameOr(Table, buttonWith(Table, DefaultButton)), "-");
    EXPECT_EQ(nameOr(frmabout::Table, buttonWith(frmabout::Table, CancelButton)), "cmdOK");
    EXPECT_EQ(nameOr(MixedTable, buttonWith(MixedTable, CancelButton)), "First");
    EXPECT_EQ(nameOr(MixedTable, buttonWith(MixedTable, DefaultButton)), "Default");
}

}  // namespace
