#include "win32/win32_twips.h"

#include <gtest/gtest.h>

namespace {

TEST(Win32Twips, ScalesByDpiAndUpForATallerFontOnly)
{
    struct Row
    {
        UINT dpi;
        int lineHeight;
        int clientWidth;  // 6300 twips
        RECT text1;       // {240, 600, 3135, 525} in a frame at {120, 120}
    };
    const Row rows[] = {
        {96, 13, 420, {24, 48, 233, 83}},
        {96, 11, 420, {24, 48, 233, 83}},  // a smaller font does not shrink the layout
        {96, 16, 517, {30, 59, 287, 102}},
        {144, 19, 630, {36, 72, 350, 125}},  // 19 of the 19.5 pixels the layout has at 144
        {144, 24, 775, {44, 89, 430, 153}},
        {192, 26, 840, {48, 96, 466, 166}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.dpi << " dpi, " << row.lineHeight << " px");
        const Win32Twips twips(row.dpi, row.lineHeight);
        EXPECT_EQ(twips.px(6300), row.clientWidth);
        const RECT rect = twips.rect({240, 600, 3135, 525}, {120, 120});
        EXPECT_EQ(rect.left, row.text1.left);
        EXPECT_EQ(rect.top, row.text1.top);
        EXPECT_EQ(rect.right, row.text1.right);
        EXPECT_EQ(rect.bottom, row.text1.bottom);
    }
}

}  // namespace
