#include "win32/win32_form_window.h"

#include "win32/win32_menu.h"
#include "win32/win32_text.h"

#include <commctrl.h>

#include <algorithm>
#include <cassert>
#include <stdexcept>
#include <utility>

namespace {

// No limit of ours: an over-long formula is reported by the evaluation, not cut off here.
constexpr LPARAM NoTextLimit = 0x7FFFFFFE;

std::wstring wideName(std::string_view name)
{
    return std::wstring(name.begin(), name.end());
}

int lineHeight(HWND window, HFONT font)
{
    const WindowDc dc(window);
    const HGDIOBJ previous = SelectObject(dc.get(), font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    SelectObject(dc.get(), previous);
    return metrics.tmHeight + metrics.tmExternalLeading;
}

// The image of the program's icon nearest to `size` pixels, scaled to it.
UniqueIcon programIcon(HINSTANCE instance, int size)
{
    return UniqueIcon(static_cast<HICON>(
        LoadImageW(instance, ProgramIconName, IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

// A multi-line edit box asks the dialog manager for every key: it would type Tab, and on Esc
// it posts WM_CLOSE to its parent, which would close the main window with the user's input.
// Both go to the dialog manager instead, as in the single-line boxes; Enter still breaks the
// line.
LRESULT CALLBACK leavesTabAndEscToTheDialog(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_GETDLGCODE && (wParam == VK_TAB || wParam == VK_ESCAPE))
        result &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    return result;
}

}  // namespace

std::vector<ControlId> creationOrder(const FormTable& table)
{
    std::vector<ControlId> order;
    std::vector<bool> isPlaced(table.controls.size(), false);
    const auto place = [&](ControlId id) {
        const auto i = static_cast<std::size_t>(id);
        if (!isPlaced[i])
            order.push_back(id);
        isPlaced[i] = true;
    };
    for (const ControlId id : focusOrder(table)) {
        if (const auto frame = frameOf(table, id))
            place(*frame);
        const auto i = static_cast<std::size_t>(id);
        const ControlRow& control = table.control(id);
        if (control.kind == ControlKind::TextBox && i > 0) {
            const ControlRow& before = table.controls[i - 1];
            if (before.kind == ControlKind::Label && before.container == control.container)
                place(ControlId(i - 1));
        }
        place(id);
    }
    for (std::size_t i = 0; i < table.controls.size(); ++i)
        place(ControlId(i));
    return order;
}

Win32FormWindow::Win32FormWindow(const FormTable& table, FormId id, Win32FormHost& host,
                                 Win32Accessibility& accessibility, HINSTANCE instance)
    : m_table(table), m_id(id), m_host(host), m_accessibility(accessibility), m_instance(instance)
{
}

Win32FormWindow::~Win32FormWindow()
{
    discard();
}

void Win32FormWindow::discard()
{
    m_isDiscarding = true;
    m_window.reset();
    m_isDiscarding = false;
}

template <class Call>
void Win32FormWindow::deliver(Call&& call)
{
    // Nothing may unwind through Windows' own frames: the host ends the program instead.
    if (m_events == nullptr || m_host.hasFailed())
        return;
    try {
        call(*m_events);
    } catch (...) {
        m_host.fail(std::current_exception());
    }
}

void Win32FormWindow::load(HWND over)
{
    assert(!isLoaded() && m_events != nullptr);
    const std::wstring className = wideName(m_table.name);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(m_instance, className.c_str(), &windowClass)) {
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = m_instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_3DFACE);
        windowClass.lpszClassName = className.c_str();
        if (RegisterClassExW(&windowClass) == 0)
            throw std::runtime_error("Cannot register the window class: " +
                                     systemMessage(GetLastError()));
    }

    const DWORD style = m_table.isSizable ? WS_OVERLAPPEDWINDOW
                                          : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = m_table.isSizable ? 0 : WS_EX_DLGMODALFRAME;
    UniqueMenu menu = m_table.menu.empty() ? UniqueMenu() : buildMenu(m_table);
    // Created where its dpi will be, on the screen of `over` or the primary one; placed later.
    RECT overRect{};
    if (over != nullptr)
        GetWindowRect(over, &overRect);
    const int x = over != nullptr ? overRect.left : CW_USEDEFAULT;
    const int y = over != nullptr ? overRect.top : CW_USEDEFAULT;
    const HWND window = CreateWindowExW(exStyle, className.c_str(),
                                        toWide(m_table.caption).c_str(), style, x, y,
                                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu.get(),
                                        m_instance, this);
    if (window == nullptr)
        throw std::runtime_error("Cannot create a window: " + systemMessage(GetLastError()));
    menu.release();  // the window destroys it

    createControls();
    applyDpi(GetDpiForWindow(m_window.get()));
    m_events->Form_Load();
    placeWindow(over);
    ShowWindow(m_window.get(), SW_SHOWNORMAL);
    SetForegroundWindow(m_window.get());
    SetFocus(m_focus);
}

void Win32FormWindow::bringToFront()
{
    if (IsIconic(m_window.get()))
        ShowWindow(m_window.get(), SW_RESTORE);
    SetForegroundWindow(m_window.get());
}

void Win32FormWindow::createControls()
{
    const std::size_t count = m_table.controls.size();
    m_controls.assign(count, nullptr);
    m_namedRows.assign(count, 0);
    m_focus = nullptr;
    for (const ControlId id : creationOrder(m_table)) {
        const ControlRow& row = m_table.control(id);
        const wchar_t* windowClass = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD exStyle = 0;
        switch (row.kind) {
        case ControlKind::Frame:
            windowClass = L"BUTTON";
            style |= BS_GROUPBOX;
            break;
        case ControlKind::Label:
            // Label texts are content: an '&' in them is no access key.
            style |= SS_NOPREFIX | (row.has(WordWrap) ? SS_LEFT : SS_LEFTNOWORDWRAP);
            break;
        case ControlKind::TextBox:
            windowClass = L"EDIT";
            exStyle |= WS_EX_CLIENTEDGE;
            style |= WS_TABSTOP;
            // A multi-line box wraps at its width: no horizontal scrolling, no scroll bars.
            style |= row.has(MultiLine) ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN
                                        : ES_AUTOHSCROLL;
            if (row.has(ReadOnly))
                style |= ES_READONLY;  // still selectable, so a result can be copied
            break;
        case ControlKind::CommandButton:
            windowClass = L"BUTTON";
            // BS_NOTIFY: the focus tells which button Enter presses.
            style |= WS_TABSTOP | BS_NOTIFY |
                     (row.has(DefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        case ControlKind::PictureBox:
            style |= SS_ICON | SS_CENTERIMAGE;
            break;
        case ControlKind::List: {
            const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
            InitCommonControlsEx(&classes);
            windowClass = WC_LISTVIEWW;
            exStyle |= WS_EX_CLIENTEDGE;
            style |= WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
            break;
        }
        }
        const HWND window = CreateWindowExW(
            exStyle, windowClass, toWide(row.caption).c_str(), style, 0, 0, 0, 0,
            m_window.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(commandId(id))),
            m_instance, nullptr);
        if (window == nullptr)
            throw std::runtime_error("Cannot create the control " + std::string(row.name) +
                                     ": " + systemMessage(GetLastError()));
        m_controls[static_cast<std::size_t>(id)] = window;
        if (m_focus == nullptr && takesFocus(row.kind))
            m_focus = window;  // the lowest tab index

        if (row.kind == ControlKind::List)
            addColumns(window, id);
        if (row.kind == ControlKind::TextBox) {
            SendMessageW(window, EM_SETLIMITTEXT, NoTextLimit, 0);
            if (row.has(MultiLine))
                SetWindowSubclass(window, leavesTabAndEscToTheDialog, 0, 0);
        }
        if (!row.accessibleName.empty())
            m_accessibility.setName(window, toWide(row.accessibleName));
        if (!row.accessibleDescription.empty())
            m_accessibility.setDescription(window, toWide(row.accessibleDescription));
        if (row.has(LiveStatus))
            m_accessibility.makeLiveRegion(window);
    }
}

void Win32FormWindow::applyDpi(UINT dpi)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    // The fonts in use go only once the controls have the new ones.
    UniqueFont formFont(CreateFontIndirectW(&metrics.lfMessageFont));
    std::vector<UniqueFont> controlFonts(m_table.controls.size());
    m_twips = Win32Twips(dpi, lineHeight(m_window.get(), formFont.get()));

    for (std::size_t i = 0; i < m_table.controls.size(); ++i) {
        const ControlRow& row = m_table.controls[i];
        HFONT font = formFont.get();
        if (row.pointSize != 0) {
            // The message font's family at the table's size, in normal weight.
            LOGFONTW own = metrics.lfMessageFont;
            own.lfHeight = -MulDiv(row.pointSize, static_cast<int>(dpi), 72);
            own.lfWeight = FW_NORMAL;
            controlFonts[i].reset(CreateFontIndirectW(&own));
            font = controlFonts[i].get();
        }
        POINT origin{0, 0};
        if (const auto frame = frameOf(m_table, ControlId(i)))
            origin = {m_table.control(*frame).place.left, m_table.control(*frame).place.top};
        const RECT place = m_twips.rect(row.place, origin);
        if (row.kind == ControlKind::PictureBox) {
            UniqueIcon icon = programIcon(m_instance, GetSystemMetricsForDpi(SM_CXICON, dpi));
            SendMessageW(m_controls[i], STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
            m_pictureIcon = std::move(icon);  // the one shown until now goes only now
        }
        SetWindowPos(m_controls[i], nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(m_controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        if (row.kind == ControlKind::List) {
            const std::vector<ColumnRow> columns = columnsOf(m_table, ControlId(i));
            for (std::size_t c = 0; c < columns.size(); ++c)
                SendMessageW(m_controls[i], LVM_SETCOLUMNWIDTH, c, m_twips.px(columns[c].width));
        }
    }
    m_font = std::move(formFont);
    m_controlFonts = std::move(controlFonts);

    // The task bar and Alt+Tab show the big icon; a dialog frame shows no icon of its own.
    UniqueIcon big = programIcon(m_instance, GetSystemMetricsForDpi(SM_CXICON, dpi));
    SendMessageW(m_window.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    m_bigIcon = std::move(big);
    if (m_table.isSizable) {
        UniqueIcon little = programIcon(m_instance, GetSystemMetricsForDpi(SM_CXSMICON, dpi));
        SendMessageW(m_window.get(), WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(little.get()));
        m_smallIcon = std::move(little);
    }
    InvalidateRect(m_window.get(), nullptr, TRUE);
}

SIZE Win32FormWindow::windowSize() const
{
    RECT frame{0, 0, m_twips.px(m_table.clientWidth), m_twips.px(m_table.clientHeight)};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(m_window.get(), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(m_window.get(), GWL_EXSTYLE));
    AdjustWindowRectExForDpi(&frame, style, GetMenu(m_window.get()) != nullptr, exStyle,
                             m_twips.dpi());
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void Win32FormWindow::placeWindow(HWND over)
{
    const SIZE size = windowSize();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(m_window.get(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT work = monitor.rcWork;
    RECT centre = work;
    if (over != nullptr)
        GetWindowRect(over, &centre);
    const auto clamp = [](LONG value, LONG low, LONG high) {
        return std::max(low, std::min(value, high));
    };
    const LONG x = clamp((centre.left + centre.right - size.cx) / 2, work.left,
                         work.right - size.cx);
    const LONG y = clamp((centre.top + centre.bottom - size.cy) / 2, work.top,
                         work.bottom - size.cy);
    SetWindowPos(m_window.get(), nullptr, x, y, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

std::optional<ControlId> Win32FormWindow::controlOf(HWND child) const
{
    const auto found = std::find(m_controls.begin(), m_controls.end(), child);
    if (child == nullptr || found == m_controls.end())
        return std::nullopt;
    return ControlId{static_cast<std::uint8_t>(found - m_controls.begin())};
}

std::u16string Win32FormWindow::text(ControlId id) const
{
    assert(isLoaded());
    const HWND window = control(id);
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return fromWide(text);
}

void Win32FormWindow::setText(ControlId id, std::u16string_view text)
{
    const ControlRow& row = m_table.control(id);
    const bool isTextBox = row.kind == ControlKind::TextBox;
    assert(isLoaded());
    // A text box changes, and raises Change, only when the text differs. A status label is
    // written and announced each time, so a repeated outcome is heard again.
    if (isTextBox && this->text(id) == text)
        return;
    // Edit boxes notify of program writes only when they hold one line; this raises Change
    // itself, the same way for both.
    m_programWrite = id;
    SetWindowTextW(control(id), toWide(text).c_str());
    m_programWrite.reset();
    if (row.has(LiveStatus) && !text.empty())
        Win32Accessibility::announce(control(id));
    if (isTextBox && m_events != nullptr)
        m_events->change(id);
}

void Win32FormWindow::setCaption(std::u16string_view caption)
{
    SetWindowTextW(m_window.get(), toWide(caption).c_str());
}

void Win32FormWindow::select(ControlId id, std::size_t start, std::size_t length)
{
    assert(isLoaded());
    const HWND box = control(id);
    // An edit box counts a line break as its two units, as the core's text does.
    const auto size = static_cast<std::size_t>(GetWindowTextLengthW(box));
    const std::size_t from = std::min(start, size);
    const std::size_t to = from + std::min(length, size - from);
    m_focus = box;  // and again when the window is next activated
    SetFocus(box);
    // After the focus: the dialog manager selects a whole box that gets it by Tab.
    SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(to));
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

void Win32FormWindow::setDescription(ControlId id, std::u16string_view description)
{
    assert(isLoaded());
    m_accessibility.setDescription(control(id), toWide(description));
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, control(id), OBJID_CLIENT, CHILDID_SELF);
}

void Win32FormWindow::addColumns(HWND list, ControlId id)
{
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    const std::vector<ColumnRow> columns = columnsOf(m_table, id);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        std::wstring heading = toWide(columns[c].caption);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_SUBITEM;
        column.pszText = heading.data();
        column.iSubItem = static_cast<int>(c);
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
}

void Win32FormWindow::setRows(ControlId id, const std::vector<ListRow>& rows)
{
    assert(isLoaded());
    const HWND list = control(id);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, rows.size(), 0);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].cells.size(); ++c) {
            std::wstring cell = toWide(rows[r].cells[c]);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(r);
            item.iSubItem = static_cast<int>(c);
            item.pszText = cell.data();
            SendMessageW(list, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, r,
                         reinterpret_cast<LPARAM>(&item));
        }
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    std::vector<std::wstring> names;
    names.reserve(rows.size());
    for (const ListRow& row : rows)
        names.push_back(toWide(row.name));
    std::size_t& named = m_namedRows[static_cast<std::size_t>(id)];
    m_accessibility.setChildNames(list, names, named);
    named = rows.size();
    if (!rows.empty())
        selectRow(id, 0);
}

std::optional<std::size_t> Win32FormWindow::selectedRow(ControlId id) const
{
    const auto row = static_cast<int>(
        SendMessageW(control(id), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0)
        return std::nullopt;
    return static_cast<std::size_t>(row);
}

void Win32FormWindow::selectRow(ControlId id, std::size_t row)
{
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(control(id), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageW(control(id), LVM_ENSUREVISIBLE, row, FALSE);
}

void Win32FormWindow::onNotify(const NMHDR& header)
{
    const auto id = controlOf(header.hwndFrom);
    if (!id || m_table.control(*id).kind != ControlKind::List)
        return;
    if (header.code == NM_DBLCLK) {
        deliver([&](FormEvents& events) { events.activate(*id); });
    } else if (header.code == LVN_KEYDOWN) {
        const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
        const bool isControlDown = GetKeyState(VK_CONTROL) < 0;
        if (key == VK_DELETE && !isControlDown)
            deliver([&](FormEvents& events) { events.key(*id, ListKey::Delete); });
        else if (key == 'C' && isControlDown)
            deliver([&](FormEvents& events) { events.key(*id, ListKey::Copy); });
    }
}

bool Win32FormWindow::isChecked(MenuId item) const
{
    const UINT state = GetMenuState(GetMenu(m_window.get()), commandId(item), MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

void Win32FormWindow::setChecked(MenuId item, bool checked)
{
    CheckMenuItem(GetMenu(m_window.get()), commandId(item),
                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32FormWindow::show(FormId form)
{
    m_host.show(form);
}

void Win32FormWindow::unload()
{
    deliver([this](FormEvents&) { close(); });
}

void Win32FormWindow::close()
{
    if (m_events != nullptr)
        m_events->Form_Unload();
    DestroyWindow(m_window.get());
}

LRESULT CALLBACK Win32FormWindow::windowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* const self = static_cast<Win32FormWindow*>(
            reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_window = UniqueWindow(window);
    }
    auto* const self =
        reinterpret_cast<Win32FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_window.release();
        self->m_controls.clear();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT Win32FormWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND window = m_window.get();
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return 0;
    case DM_GETDEFID:
        // The dialog manager asks which button Enter presses when no button has the focus.
        if (const auto button = buttonWith(m_table, DefaultButton))
            return MAKELRESULT(commandId(*button), DC_HASDEFID);
        return 0;
    case WM_CLOSE:
        unload();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;  // the input is stored at WM_ENDSESSION, as when the window closes
    case WM_ENDSESSION:
        // The session ends (sign-out, shutdown) or, with ENDSESSION_CLOSEAPP, an installer asks
        // the program to close so that its files can be replaced. Windows may end the process
        // as soon as this returns, so every window is unloaded before.
        if (wParam != FALSE)
            m_host.endSession();
        return 0;
    case WM_DESTROY:
        for (std::size_t i = 0; i < m_controls.size(); ++i) {
            m_accessibility.forget(m_controls[i]);
            m_accessibility.setChildNames(m_controls[i], {}, std::exchange(m_namedRows[i], 0));
        }
        if (!m_isDiscarding)
            m_host.destroyed(m_id);
        return 0;
    case WM_ACTIVATE:
        onActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_SETFOCUS:
        if (m_focus != nullptr)
            SetFocus(m_focus);
        return 0;
    case WM_CTLCOLORSTATIC:
        return onStaticColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_DPICHANGED: {
        applyDpi(HIWORD(wParam));
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        // A sizable window keeps the size the user gave it, scaled; a fixed one fits its
        // layout exactly.
        const SIZE size = m_table.isSizable
            ? SIZE{suggested.right - suggested.left, suggested.bottom - suggested.top}
            : windowSize();
        SetWindowPos(window, nullptr, suggested.left, suggested.top, size.cx, size.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void Win32FormWindow::onCommand(int id, int code)
{
    if (id == IDOK || id == IDCANCEL) {
        // Enter and Esc, from the dialog manager: they press the default and cancel buttons.
        if (const auto button = buttonWith(m_table, id == IDOK ? DefaultButton : CancelButton))
            deliver([&](FormEvents& events) { events.click(*button); });
        return;
    }
    const int item = id - MenuIdBase;
    if (item >= 0 && static_cast<std::size_t>(item) < m_table.menu.size()) {
        deliver([&](FormEvents& events) { events.choose(MenuId(item)); });
        return;
    }
    const int index = id - ControlIdBase;
    if (index < 0 || static_cast<std::size_t>(index) >= m_table.controls.size())
        return;
    const auto control = ControlId(index);
    switch (m_table.control(control).kind) {
    case ControlKind::TextBox:
        if (code == EN_CHANGE && m_programWrite != control)
            deliver([&](FormEvents& events) { events.change(control); });
        break;
    case ControlKind::CommandButton:
        if (code == BN_CLICKED)
            deliver([&](FormEvents& events) { events.click(control); });
        else if (code == BN_SETFOCUS || code == BN_KILLFOCUS)
            onButtonFocus(control, code == BN_SETFOCUS);
        break;
    default:
        break;
    }
}

void Win32FormWindow::onButtonFocus(ControlId button, bool hasFocus)
{
    // As in dialogs: the focused button is the one Enter presses and looks it; when the focus
    // leaves, the form's default button is again.
    const auto defaultButton = buttonWith(m_table, DefaultButton);
    const auto setDefault = [this](ControlId id, bool isDefault) {
        SendMessageW(control(id), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                     TRUE);
    };
    if (defaultButton == button)
        return;
    setDefault(button, hasFocus);
    if (defaultButton)
        setDefault(*defaultButton, !hasFocus);
}

void Win32FormWindow::onActivate(bool isActive)
{
    // The focus leaves with the window and comes back to the same control.
    if (!isActive) {
        const HWND focus = GetFocus();
        if (controlOf(focus))
            m_focus = focus;
        return;
    }
    if (m_focus != nullptr)
        SetFocus(m_focus);
}

LRESULT Win32FormWindow::onStaticColor(HDC dc, HWND child)
{
    const auto id = controlOf(child);
    if (!id || !m_table.control(*id).has(BlackText))
        return DefWindowProcW(m_window.get(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(child));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, GetSysColor(COLOR_3DFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_3DFACE));
}

void Win32FormWindow::onPaint()
{
    const PaintScope paint(m_window.get());
    for (const LineRow& line : m_table.lines) {
        assert(line.y1 == line.y2);  // the forms draw horizontal rules only
        const int thickness = std::max(1, MulDiv(line.pixels, static_cast<int>(m_twips.dpi()),
                                                 96));
        const RECT band{m_twips.px(line.x1), m_twips.px(line.y1), m_twips.px(line.x2),
                        m_twips.px(line.y1) + thickness};
        const UniqueBrush brush(CreateSolidBrush(
            RGB((line.rgb >> 16) & 0xFF, (line.rgb >> 8) & 0xFF, line.rgb & 0xFF)));
        FillRect(paint.dc(), &band, brush.get());
    }
}
