#include "eval/number_forms.h"

#include <gtest/gtest.h>

#include <limits>

TEST(NumberForms, WritesBothFormsOfAValue)
{
    struct Row { double value; std::u16string substitution, display; };
    const Row rows[] = {
        {1.5, u" 1.5", u"1.5"},
        {0, u" 0", u"0"},
        {-0.0, u" 0", u"0"},
        {0.5, u" .5", u"0.5"},
        {-0.5, u"-.5", u"-0.5"},
        {-2, u"-2", u"-2"},
        {3, u" 3", u"3"},
        {12, u" 12", u"12"},
        {100, u" 100", u"100"},
        {1.0 / 3, u" .333333333333333", u"0.333333333333333"},
        {2.0 / 3, u" .666666666666667", u"0.666666666666667"},
        {0.1 + 0.2, u" .3", u"0.3"},
        {123456789012345, u" 123456789012345", u"123456789012345"},
        {1e15, u" 1E+15", u"1E+15"},
        {999999999999999.9, u" 1E+15", u"1E+15"},  // rounds up to the exponent form
        {1234567890123456, u" 1.23456789012346E+15", u"1.23456789012346E+15"},
        {0.0001, u" .0001", u"0.0001"},
        {0.00012345, u" .00012345", u"0.00012345"},
        {1.5e-5, u" 1.5E-05", u"1.5E-05"},
        {-1.5e-5, u"-1.5E-05", u"-1.5E-05"},
        {1e100, u" 1E+100", u"1E+100"},
        {1e-100, u" 1E-100", u"1E-100"},
        {std::numeric_limits<double>::max(), u" 1.79769313486232E+308", u"1.79769313486232E+308"},
        {5e-324, u" 4.94065645841247E-324", u"4.94065645841247E-324"},
        {-1234.5678, u"-1234.5678", u"-1234.5678"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(substitutionForm(row.value), row.substitution);
        EXPECT_EQ(displayForm(row.value, u'.'), row.display);
    }
}

TEST(NumberForms, DisplayTakesTheCallersSeparator)
{
    EXPECT_EQ(displayForm(1.5, u','), u"1,5");
    EXPECT_EQ(displayForm(-0.25, u','), u"-0,25");
    EXPECT_EQ(displayForm(1.5e-5, u','), u"1,5E-05");
    EXPECT_EQ(displayForm(1500, u','), u"1500");  // no digit grouping
    EXPECT_EQ(substitutionForm(1.5), u" 1.5");    // always a period inside formulas
}
