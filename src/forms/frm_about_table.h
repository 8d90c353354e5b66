#pragma once

#include "forms/form_table.h"
#include "text/translatable.h"

// The About dialog: the program's icon, title and version, a copyright line, a notice for
// users, OK and "System Info...".
namespace frmabout {

using enum ControlKind;

inline constexpr ControlRow Controls[] = {
    // Exactly the size of the 32-pixel icon it shows.
    {"picIcon", PictureBox, "", u"", {240, 240, 480, 480}, 1, N_(u"Program icon")},
    {"cmdOK", CommandButton, "", N_(u"OK"), {4245, 2625, 1260, 345}, 0, u"",
     DefaultButton | CancelButton},
    {"cmdSysInfo", CommandButton, "", N_(u"&System Info..."), {4260, 3075, 1245, 345}, 2, u""},
    {"Label1", Label, "",
     N_(u"Sumwright is free. Reports and suggestions: see \"Reporting problems\" in its README."),
     {240, 2640, 3885, 450}, 6, u"", WordWrap | BlackText},
    {"lblDescription", Label, "", N_(u"Copyright \u00A9 2026 the Sumwright authors."),
     {1080, 1125, 3885, 330}, 3, u"", BlackText},
    {"lblTitle", Label, "", u"Application Title", {1050, 240, 3885, 480}, 4, u"", BlackText, u"",
     12},
    {"lblVersion", Label, "", u"Version", {1050, 780, 3885, 225}, 5, u""},
};

// An etched rule between the upper block and the notice: grey, with white below it.
inline constexpr LineRow Lines[] = {
    {"Line1(1)", 90, 2445, 5654, 2445, 0x808080, 1},
    {"Line1(0)", 105, 2460, 5654, 2460, 0xFFFFFF, 2},
};

inline constexpr FormTable Table{
    "frmAbout", u"About MyApp", 5730, 3555, false, Controls, {}, Lines};

inline constexpr ControlId cmdOK = controlNamed(Controls, "cmdOK");
inline constexpr ControlId cmdSysInfo = controlNamed(Controls, "cmdSysInfo");
inline constexpr ControlId lblTitle = controlNamed(Controls, "lblTitle");
inline constexpr ControlId lblVersion = controlNamed(Controls, "lblVersion");

}  // namespace frmabout
