#include "forms/form1_table.h"
#include "forms/frm_about_table.h"
#include "forms/frm_history_table.h"
#include "forms/localized_table.h"
#include "l10n/built_in_catalogs.h"
#include "win32/win32_command_id.h"
#include "win32/win32_form_window.h"

#include "support/status_messages.h"
#include "win32/no_form_host.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

namespace {

class NoEvents final : public FormEvents
{
public:
    void Form_Load() override {}
};

std::wstring shown(std::u16string_view text)
{
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;  // an access key's mark takes no room; "&&" shows one '&'
        out += static_cast<wchar_t>(text[i]);
    }
    return out;
}

// The room `text` needs in `control`'s own font: one line, or wrapped at `wrapWidth`.
SIZE needed(HWND control, const std::wstring& text, int wrapWidth = 0)
{
    const HDC dc = GetDC(control);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    if (wrapWidth > 0) {
        RECT rect{0, 0, wrapWidth, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        size = {rect.right, rect.bottom};
    } else {
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

SIZE clientSize(HWND control)
{
    RECT rect{};
    GetClientRect(control, &rect);
    return {rect.right, rect.bottom};
}

void expectFits(HWND control, const ControlRow& row, std::u16string_view text)
{
    SCOPED_TRACE(std::string(row.name));
    const SIZE room = clientSize(control);
    const std::wstring words = shown(text);
    if (row.kind == ControlKind::Label && row.has(WordWrap)) {
        EXPECT_LE(needed(control, words, room.cx).cy, room.cy);
        return;
    }
    // A button's raised edge and a group box's line and gap take a few pixels each side.
    const int margin = row.kind == ControlKind::CommandButton ? 4
                       : row.kind == ControlKind::Frame         ? 16
                                                                : 0;
    EXPECT_LE(needed(control, words).cx + margin, room.cx);
}

// English first, then every catalog: each window's texts at 100 % in the window's own fonts.
TEST(Win32CaptionFit, EveryTextFitsItsControlInEveryLanguage)
{
    std::vector<std::string_view> languages{""};
    for (const std::string_view language : builtInLanguages())
        languages.push_back(language);
    const std::pair<const FormTable*, FormId> forms[] = {{&form1::Table, FormId::Form1},
                                                        {&frmabout::Table, FormId::frmAbout},
                                                        {&frmhistory::Table, FormId::frmHistory}};
    for (const std::string_view language : languages) {
        SCOPED_TRACE("language " + std::string(language.empty() ? "en" : language));
        const Catalog catalog = builtInCatalog(language);
        for (const auto& [english, id] : forms) {
            const LocalizedTable localized(*english, catalog);
            const FormTable& table = localized.table();
            NoHost host;
            Win32Accessibility accessibility;
            Win32FormWindow window(table, id, host, accessibility, GetModuleHandleW(nullptr));
            NoEvents events;
            window.setEvents(events);
            window.load(nullptr);
            const auto control = [&](ControlId i) {
                return GetDlgItem(window.window(), commandId(i));
            };
            for (std::size_t i = 0; i < table.controls.size(); ++i) {
                const ControlRow& row = table.controls[i];
                if (!row.caption.empty() && row.kind != ControlKind::TextBox)
                    expectFits(control(ControlId(i)), row, row.caption);
            }
            if (id == FormId::Form1) {
                for (const std::u16string_view message : statusMessages()) {
                    expectFits(control(form1::Label6), table.control(form1::Label6),
                               catalog.text(message));
                }
            }
            if (id == FormId::frmHistory) {
                expectFits(control(frmhistory::lblCount), table.control(frmhistory::lblCount),
                           longestCount(catalog));
                const HWND list = control(frmhistory::lstHistory);
                const std::vector<ColumnRow> columns = columnsOf(table, frmhistory::lstHistory);
                for (std::size_t c = 0; c < columns.size(); ++c) {
                    SCOPED_TRACE("heading " + std::to_string(c));
                    const auto width = SendMessageW(list, LVM_GETCOLUMNWIDTH, c, 0);
                    EXPECT_LE(needed(list, shown(columns[c].caption)).cx + 12, width);
                }
            }
            window.discard();
        }
    }
}

}  // namespace
