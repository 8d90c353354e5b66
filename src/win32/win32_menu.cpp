#include "win32/win32_menu.h"

#include "win32/win32_command_id.h"
#include "win32/win32_text.h"

#include <cassert>
#include <optional>
#include <string>
#include <vector>

UniqueMenu buildMenu(const FormTable& table)
{
    UniqueMenu bar(CreateMenu());
    std::vector<HMENU> popups(table.menu.size(), nullptr);  // by item; owned by the bar
    for (std::size_t i = 0; i < table.menu.size(); ++i) {
        const MenuRow& item = table.menu[i];
        const std::wstring caption = toWide(item.caption);  // '&' marks the access key
        if (item.parent.empty()) {
            UniqueMenu popup(CreatePopupMenu());
            if (AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()),
                            caption.c_str()))
                popups[i] = popup.release();
            continue;
        }
        if (!item.isVisible)
            continue;  // a hidden item is not in the menu at all, so it cannot be chosen
        const std::optional<MenuId> parent = parentOf(table, MenuId(i));
        assert(parent);
        const HMENU popup = popups[static_cast<std::size_t>(*parent)];
        if (item.isSeparator()) {
            AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT flags = MF_STRING | (item.isEnabled ? MF_ENABLED : MF_GRAYED);
        AppendMenuW(popup, flags, static_cast<UINT_PTR>(commandId(MenuId(i))), caption.c_str());
    }
    return bar;
}
