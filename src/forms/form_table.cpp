#include "forms/form_table.h"

#include <algorithm>
#include <cassert>

namespace {

template <class Id, class Row>
std::optional<Id> rowNamed(std::span<const Row> rows, std::string_view name)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].name == name)
            return Id{static_cast<std::uint8_t>(i)};
    }
    return std::nullopt;
}

}  // namespace

std::vector<ControlId> focusOrder(const FormTable& table)
{
    std::vector<ControlId> order;
    for (std::size_t i = 0; i < table.controls.size(); ++i) {
        if (takesFocus(table.controls[i].kind))
            order.push_back(ControlId{static_cast<std::uint8_t>(i)});
    }
    std::stable_sort(order.begin(), order.end(), [&](ControlId a, ControlId b) {
        return table.control(a).tabIndex < table.control(b).tabIndex;
    });
    return order;
}

std::optional<ControlId> frameOf(const FormTable& table, ControlId control)
{
    const std::string_view container = table.control(control).container;
    if (container.empty())
        return std::nullopt;
    const std::optional<ControlId> frame = rowNamed<ControlId>(table.controls, container);
    assert(frame && table.control(*frame).kind == ControlKind::Frame);
    return frame;
}

std::optional<MenuId> parentOf(const FormTable& table, MenuId item)
{
    const std::string_view parent = table.item(item).parent;
    if (parent.empty())
        return std::nullopt;
    const std::optional<MenuId> found = rowNamed<MenuId>(table.menu, parent);
    assert(found);
    return found;
}

std::optional<ControlId> buttonWith(const FormTable& table, ControlFlag flag)
{
    for (std::size_t i = 0; i < table.controls.size(); ++i) {
        const ControlRow& row = table.controls[i];
        if (row.kind == ControlKind::CommandButton && row.has(flag))
            return ControlId{static_cast<std::uint8_t>(i)};
    }
    return std::nullopt;
}

std::vector<ColumnRow> columnsOf(const FormTable& table, ControlId list)
{
    std::vector<ColumnRow> columns;
    for (const ColumnRow& column : table.columns) {
        if (column.list == table.control(list).name)
            columns.push_back(column);
    }
    return columns;
}
