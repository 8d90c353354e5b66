#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

// A form as data: its window, its controls, its menu and its lines. Both toolkits build their
// windows from these tables, so the layout is written down once.

// A control or menu item, by its place in its form's table.
enum class ControlId : std::uint8_t {};
enum class MenuId : std::uint8_t {};

enum class FormId { Form1, frmAbout, frmHistory };

// A List shows rows of cells under column headings, one row selected at a time.
enum class ControlKind : std::uint8_t { Frame, Label, TextBox, CommandButton, PictureBox, List };

// Settings beyond a control's kind.
enum ControlFlag : std::uint8_t {
    MultiLine = 1,    // text box: Enter breaks the line and long text wraps at the box's width
    ReadOnly = 2,     // text box: the program writes it, the user can select and copy
    WordWrap = 4,     // label: wraps at its width
    DefaultButton = 8,
    CancelButton = 16,
    BlackText = 32,
    LiveStatus = 64,  // label: each new text is announced to assistive technology, politely
};

// Twips: 1/1440 inch, 15 to a pixel at 96 dpi. Left and top count from the top left corner of
// the container's client area: the form's, or the frame's.
struct TwipsRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ControlRow
{
    std::string_view name;        // the design name; views give it to their objects
    ControlKind kind;
    std::string_view container;   // a frame's name; empty for the form itself
    std::u16string_view caption;  // caption or initial text; '&' marks an access key
    TwipsRect place;
    int tabIndex;
    std::u16string_view accessibleName;  // what assistive technology calls it; empty: its caption
    std::uint8_t flags = 0;
    std::u16string_view accessibleDescription = {};
    int pointSize = 0;            // 0: the form's font

    constexpr bool has(ControlFlag flag) const { return (flags & flag) != 0; }
};

struct MenuRow
{
    std::string_view name;
    std::string_view parent;      // the menu it drops from; empty for an entry of the menu bar
    std::u16string_view caption;  // '&' marks the access key; "-" is a separator
    bool isVisible = true;
    bool isEnabled = true;
    bool isCheckable = false;

    constexpr bool isSeparator() const { return caption == u"-"; }
};

// A column of a List control, left to right.
struct ColumnRow
{
    std::string_view list;        // the control's name
    std::u16string_view caption;  // its heading
    int width;                    // twips
};

// A straight line drawn on the form, in twips from its client area's corner.
struct LineRow
{
    std::string_view name;
    int x1, y1, x2, y2;
    std::uint32_t rgb;  // 0xRRGGBB
    int pixels;         // thickness, drawn below the line's own row
};

struct FormTable
{
    std::string_view name;
    std::u16string_view caption;  // before Form_Load
    int clientWidth;              // twips
    int clientHeight;
    bool isSizable;               // else a fixed dialog frame without minimise and maximise
    std::span<const ControlRow> controls;
    std::span<const MenuRow> menu;
    std::span<const LineRow> lines;
    std::span<const ColumnRow> columns = {};

    constexpr const ControlRow& control(ControlId id) const
    {
        return controls[static_cast<std::size_t>(id)];
    }
    constexpr const MenuRow& item(MenuId id) const { return menu[static_cast<std::size_t>(id)]; }
};

// The id of the row called `name` in a form's table; a name not in the table does not compile
// where it is used in a constant expression.
template <class Id, class Row, std::size_t N>
constexpr Id named(const Row (&rows)[N], std::string_view name)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (rows[i].name == name)
            return Id{static_cast<std::uint8_t>(i)};
    }
    throw std::logic_error("no such name in the form's table");
}

template <std::size_t N>
constexpr ControlId controlNamed(const ControlRow (&controls)[N], std::string_view name)
{
    return named<ControlId>(controls, name);
}

template <std::size_t N>
constexpr MenuId menuNamed(const MenuRow (&menu)[N], std::string_view name)
{
    return named<MenuId>(menu, name);
}

// What a table implies, worked out here once for every view.

// Whether the user can put the keyboard focus in a control of this kind; labels, frames and
// pictures never take it.
constexpr bool takesFocus(ControlKind kind)
{
    return kind == ControlKind::TextBox || kind == ControlKind::CommandButton ||
           kind == ControlKind::List;
}

// The controls that take the focus, in Tab order: by tab index, ties in the table's order.
std::vector<ControlId> focusOrder(const FormTable& table);

// The frame a control sits in; none for a control placed on the form itself.
std::optional<ControlId> frameOf(const FormTable& table, ControlId control);

// The menu an item drops from; none for an entry of the menu bar.
std::optional<MenuId> parentOf(const FormTable& table, MenuId item);

// The command button that has `flag` (DefaultButton or CancelButton); none when no button has.
std::optional<ControlId> buttonWith(const FormTable& table, ControlFlag flag);

// The columns of a List control, left to right.
std::vector<ColumnRow> columnsOf(const FormTable& table, ControlId list);
