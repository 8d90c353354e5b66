#pragma once

#include "forms/form_table.h"

// Command ids: a control's is ControlIdBase plus its place in its form's table, a menu item's
// MenuIdBase plus its place. Both stay clear of IDOK and IDCANCEL, which the dialog manager
// sends for Enter and Esc.
inline constexpr int ControlIdBase = 100;
inline constexpr int MenuIdBase = 1000;

constexpr int commandId(ControlId control)
{
    return ControlIdBase + static_cast<int>(control);
}

constexpr int commandId(MenuId item)
{
    return MenuIdBase + static_cast<int>(item);
}
