#pragma once

#include "forms/form_table.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One row of a List control: its cells, left to right, and what assistive technology calls it.
struct ListRow
{
    std::vector<std::u16string> cells;
    std::u16string name;

    bool operator==(const ListRow&) const = default;
};

// What the handlers need of a window, whichever toolkit draws it.
class FormView
{
public:
    virtual ~FormView() = default;

    // A text box's text or a label's caption, every unit as typed.
    virtual std::u16string text(ControlId control) const = 0;
    // Raises the control's Change when the text differs, as typing does.
    virtual void setText(ControlId control, std::u16string_view text) = 0;
    virtual void setCaption(std::u16string_view caption) = 0;  // the window's title
    // Puts the keyboard focus in a text box with `length` units from `start` selected, 0-based;
    // a length of 0 puts the caret at `start`.
    virtual void select(ControlId control, std::size_t start, std::size_t length) = 0;
    // What assistive technology reads for the control after its name; empty text clears it.
    virtual void setDescription(ControlId control, std::u16string_view description) = 0;
    // Replaces a List's rows; the first row, if any, is selected.
    virtual void setRows(ControlId list, const std::vector<ListRow>& rows) = 0;
    virtual std::optional<std::size_t> selectedRow(ControlId list) const = 0;
    virtual void selectRow(ControlId list, std::size_t row) = 0;
    virtual bool isChecked(MenuId item) const = 0;
    virtual void setChecked(MenuId item, bool checked) = 0;
    // Shows `form` modeless and without an owner. A form that is not loaded is loaded first,
    // which runs its Form_Load; one already shown comes to the front. There is never a second.
    virtual void show(FormId form) = 0;
    // Unloads the window; its Form_Unload runs first.
    virtual void close() = 0;
};
