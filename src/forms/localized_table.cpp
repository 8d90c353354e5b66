#include "forms/localized_table.h"

LocalizedTable::LocalizedTable(const FormTable& table, const Catalog& catalog)
    : m_controls(table.controls.begin(), table.controls.end()),
      m_menu(table.menu.begin(), table.menu.end()),
      m_columns(table.columns.begin(), table.columns.end()),
      m_table(table)
{
    for (ControlRow& row : m_controls) {
        row.caption = catalog.text(row.caption);
        row.accessibleName = catalog.text(row.accessibleName);
        row.accessibleDescription = catalog.text(row.accessibleDescription);
    }
    for (MenuRow& row : m_menu) {
        if (!row.isSeparator())
            row.caption = catalog.text(row.caption);
    }
    for (ColumnRow& column : m_columns)
        column.caption = catalog.text(column.caption);
    m_table.caption = catalog.text(table.caption);
    m_table.controls = m_controls;
    m_table.menu = m_menu;
    m_table.columns = m_columns;
}
