#pragma once

#include "forms/form_table.h"
#include "l10n/catalog.h"

#include <vector>

// A form's table with its texts in a catalog's language and everything else as the table has
// it. Its texts are the catalog's own, so the catalog must outlive it.
class LocalizedTable
{
public:
    LocalizedTable(const FormTable& table, const Catalog& catalog);
    LocalizedTable(const LocalizedTable&) = delete;  // the table points into its own rows
    LocalizedTable& operator=(const LocalizedTable&) = delete;

    const FormTable& table() const { return m_table; }

private:
    std::vector<ControlRow> m_controls;
    std::vector<MenuRow> m_menu;
    std::vector<ColumnRow> m_columns;
    FormTable m_table;
};
