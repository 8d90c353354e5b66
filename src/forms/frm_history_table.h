#pragma once

#include "forms/form_table.h"
#include "text/translatable.h"

// The History window: a search box, the list of evaluations newest first, the commands on the
// entry selected, and how many entries the list shows.
namespace frmhistory {

using enum ControlKind;

inline constexpr ControlRow Controls[] = {
    {"lblSearch", Label, "", N_(u"Search"), {120, 150, 855, 255}, 8, u""},
    {"txtSearch", TextBox, "", u"", {1020, 120, 4980, 285}, 0, N_(u"Search")},
    {"lstHistory", List, "", u"", {120, 525, 5880, 4260}, 1, N_(u"History")},
    {"cmdUse", CommandButton, "", N_(u"&Use"), {6120, 525, 1560, 375}, 2, u"", DefaultButton},
    {"cmdCopy", CommandButton, "", N_(u"&Copy"), {6120, 1005, 1560, 375}, 3, u""},
    {"cmdDelete", CommandButton, "", N_(u"&Delete"), {6120, 1485, 1560, 375}, 4, u""},
    {"cmdClear", CommandButton, "", N_(u"C&lear History"), {6120, 1965, 1560, 375}, 5, u""},
    {"cmdExport", CommandButton, "", N_(u"&Export..."), {6120, 2445, 1560, 375}, 6, u""},
    {"cmdClose", CommandButton, "", N_(u"Cl&ose"), {6120, 4410, 1560, 375}, 7, u"", CancelButton},
    {"lblCount", Label, "", u"", {120, 4905, 5880, 255}, 9, u"", LiveStatus},
};

inline constexpr ColumnRow Columns[] = {
    {"lstHistory", N_(u"Formula"), 3045},
    {"lstHistory", N_(u"Result"), 1425},
    {"lstHistory", N_(u"Time"), 1275},
};

inline constexpr FormTable Table{
    "frmHistory", N_(u"Sumwright History"), 7800, 5280, false, Controls, {}, {}, Columns};

inline constexpr ControlId txtSearch = controlNamed(Controls, "txtSearch");
inline constexpr ControlId lstHistory = controlNamed(Controls, "lstHistory");
inline constexpr ControlId cmdUse = controlNamed(Controls, "cmdUse");
inline constexpr ControlId cmdCopy = controlNamed(Controls, "cmdCopy");
inline constexpr ControlId cmdDelete = controlNamed(Controls, "cmdDelete");
inline constexpr ControlId cmdClear = controlNamed(Controls, "cmdClear");
inline constexpr ControlId cmdExport = controlNamed(Controls, "cmdExport");
inline constexpr ControlId cmdClose = controlNamed(Controls, "cmdClose");
inline constexpr ControlId lblCount = controlNamed(Controls, "lblCount");

}  // namespace frmhistory
