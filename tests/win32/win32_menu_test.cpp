#include "win32/win32_menu.h"

#include "forms/form1_table.h"
#include "win32/win32_command_id.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

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

TEST(Win32Menu, BuildsTheBarFromTheTableWithoutTheHiddenItem)
{
    using namespace form1;
    const UniqueMenu bar = buildMenu(Table);
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

}  // namespace
