#pragma once

#include "forms/form_table.h"
#include "text/translatable.h"

// The main window: four formula boxes, four result boxes, the status line, the button and the
// menu. The evaluator it owns has no place on screen, so it is not in the table.
namespace form1 {

using enum ControlKind;

inline constexpr ControlRow Controls[] = {
    {"Frame1", Frame, "", N_(u"Input"), {120, 120, 3615, 2535}, 4, u""},
    {"Label1", Label, "Frame1", N_(u"Formula"), {240, 360, 1215, 255}, 19, u""},
    {"Text1", TextBox, "Frame1", u"", {240, 600, 3135, 525}, 0, N_(u"Formula"), MultiLine},
    {"Label2", Label, "Frame1", u"X", {240, 1320, 255, 255}, 7, u""},
    {"Text2", TextBox, "Frame1", u"", {600, 1320, 2775, 285}, 1, N_(u"Formula for X")},
    {"Label3", Label, "Frame1", u"Y", {240, 1680, 255, 255}, 6, u""},
    {"Text3", TextBox, "Frame1", u"", {600, 1680, 2775, 285}, 2, N_(u"Formula for Y")},
    {"Label4", Label, "Frame1", u"Z", {240, 2040, 255, 255}, 5, u""},
    {"Text4", TextBox, "Frame1", u"", {600, 2040, 2775, 285}, 3, N_(u"Formula for Z")},
    {"Frame2", Frame, "", N_(u"Results"), {3960, 120, 2175, 2535}, 11, u""},
    {"Text5", TextBox, "Frame2", u"", {240, 480, 1695, 285}, 12, N_(u"Result"), ReadOnly},
    {"Label8", Label, "Frame2", u"X", {240, 1200, 255, 255}, 16, u""},
    {"Text6", TextBox, "Frame2", u"", {600, 1200, 1335, 285}, 13, N_(u"Value of X"), ReadOnly},
    {"Label9", Label, "Frame2", u"Y", {240, 1560, 255, 255}, 17, u""},
    {"Text7", TextBox, "Frame2", u"", {600, 1560, 1335, 285}, 14, N_(u"Value of Y"), ReadOnly},
    {"Label10", Label, "Frame2", u"Z", {240, 1920, 255, 255}, 18, u""},
    {"Text8", TextBox, "Frame2", u"", {600, 1920, 1335, 285}, 15, N_(u"Value of Z"), ReadOnly},
    {"Label7", Label, "", N_(u"Status"), {120, 2760, 1815, 255}, 10, u""},
    // Its name is the message itself, so that a screen reader reads what it says.
    {"Label6", Label, "", u"", {120, 3000, 6015, 495}, 9, u"", WordWrap | LiveStatus,
     N_(u"Status")},
    // Neither the default nor the cancel button: Enter and Esc do not press it.
    {"Command1", CommandButton, "", N_(u"Evaluate"), {4920, 3600, 1215, 375}, 8, N_(u"Evaluate")},
};

inline constexpr MenuRow Menu[] = {
    {"mnuOptions", "", N_(u"&Options")},
    {"mnuClearVariables", "mnuOptions", N_(u"&Clear Variables")},
    {"mnuClearAll", "mnuOptions", N_(u"Clear &All")},
    {"mnuHistory", "mnuOptions", N_(u"&History...")},
    {"mnuUDF", "mnuOptions", N_(u"User Defined Functions..."), false, false},
    {"mnuEvaluate", "mnuOptions", N_(u"&Evaluate Formula")},
    {"OptionSeaparator1", "mnuOptions", u"-"},
    {"mnuSave", "mnuOptions", N_(u"&Save Input on Exit"), true, true, true},
    {"OptionsSeparator2", "mnuOptions", u"-"},
    {"mnuExit", "mnuOptions", N_(u"E&xit")},
    {"mnuHelp", "", N_(u"&Help")},
    {"mnuHelpContents", "mnuHelp", N_(u"&Contents...")},
    {"HelpSeparator1", "mnuHelp", u"-"},
    {"mnuAbout", "mnuHelp", N_(u"&About Sumwright...")},
};

inline constexpr FormTable Table{"Form1", u"Sumwright", 6300, 4065, true, Controls, Menu, {}};

inline constexpr ControlId Text1 = controlNamed(Controls, "Text1");
inline constexpr ControlId Text2 = controlNamed(Controls, "Text2");
inline constexpr ControlId Text3 = controlNamed(Controls, "Text3");
inline constexpr ControlId Text4 = controlNamed(Controls, "Text4");
inline constexpr ControlId Text5 = controlNamed(Controls, "Text5");
inline constexpr ControlId Text6 = controlNamed(Controls, "Text6");
inline constexpr ControlId Text7 = controlNamed(Controls, "Text7");
inline constexpr ControlId Text8 = controlNamed(Controls, "Text8");
inline constexpr ControlId Label6 = controlNamed(Controls, "Label6");
inline constexpr ControlId Command1 = controlNamed(Controls, "Command1");

inline constexpr MenuId mnuClearVariables = menuNamed(Menu, "mnuClearVariables");
inline constexpr MenuId mnuClearAll = menuNamed(Menu, "mnuClearAll");
inline constexpr MenuId mnuEvaluate = menuNamed(Menu, "mnuEvaluate");
inline constexpr MenuId mnuSave = menuNamed(Menu, "mnuSave");
inline constexpr MenuId mnuExit = menuNamed(Menu, "mnuExit");
inline constexpr MenuId mnuHelpContents = menuNamed(Menu, "mnuHelpContents");
inline constexpr MenuId mnuAbout = menuNamed(Menu, "mnuAbout");
inline constexpr MenuId mnuHistory = menuNamed(Menu, "mnuHistory");

}  // namespace form1
