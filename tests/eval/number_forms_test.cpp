#include "eval/number_forms.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The significant digits of a number text, without leading or trailing zeros.
std::string significantDigits(std::u16string_view text)
{
    std::string digits;
    for (const char16_t c : text.substr(0, text.find_first_of(u"Ee"))) {
        if (c >= u'0' && c <= u'9' && !(digits.empty() && c == u'0'))
            digits.push_back(static_cast<char>(c));
    }
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    return digits;
}

double readBack(std::u16string_view text)
{
    const std::string narrow(text.begin(), text.end());
    double value = 0.0;
    std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    return value;
}

}  // namespace

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
        {1e-10, u" 1E-10", u"1E-10"},  // two exponent digits are the least, not a fixed width
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

TEST(NumberForms, RoundToFifteenSignificantDigitsLikePrintf)
{
    // Values of every length of shortest text, normal and subnormal, and random bit patterns.
    std::vector<double> values = {0.1, 0.3, 1e23, 8.41e21, 5e-324, 1.5e-320,
                                  2.2250738585072014e-308, 2.225073858507201e-308,
                                  123456789012345.6, 0.000123456789012345};
    std::uint64_t state = 7;
    const auto next = [&state] {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return state;
    };
    for (int i = 0; i < 20000; ++i) {
        const std::string text = std::to_string(next() >> (next() % 64)) + "e"
                                 + std::to_string(static_cast<int>(next() % 640) - 330);
        std::from_chars(text.data(), text.data() + text.size(), values.emplace_back());
        values.push_back(std::bit_cast<double>(next()));
    }
    for (const double value : values) {
        if (!std::isfinite(value) || value == 0.0)
            continue;
        SCOPED_TRACE(value);
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::scientific, 14).ptr;
        const std::u16string reference(buffer, end);
        const std::u16string form = substitutionForm(value);
        ASSERT_EQ(form[0], value < 0 ? u'-' : u' ');
        ASSERT_EQ(significantDigits(form), significantDigits(reference));
        ASSERT_EQ(readBack(form.substr(1)), readBack(reference));
    }
}
