#include "win32/win32_form_window.h"

#include "forms/form1_spec.h"
#include "forms/frm_about_spec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> namesInCreationOrder(const FormSpec& spec)
{
    std::vector<std::string> names;
    for (const ControlId id : creationOrder(spec))
        names.emplace_back(spec.control(id).name);
    return names;
}

TEST(Win32FormWindow, CreatesControlsInTabOrderEachBoxAfterItsLabel)
{
    const std::vector<std::string> form1 = {
        "Frame1", "Label1", "Text1", "Label2", "Text2", "Label3", "Text3", "Label4", "Text4",
        "Command1", "Frame2", "Text5", "Label8", "Text6", "Label9", "Text7", "Label10", "Text8",
        "Label7", "Label6"};
    EXPECT_EQ(namesInCreationOrder(form1::Spec), form1);
    const std::vector<std::string> about = {"cmdOK", "cmdSysInfo", "picIcon", "Label1",
                                            "lblDescription", "lblTitle", "lblVersion"};
    EXPECT_EQ(namesInCreationOrder(frmabout::Spec), about);
}

}  // namespace
