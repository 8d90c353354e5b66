#include "reckoner/reckoner.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <string_view>

namespace {

struct Evaluated
{
    std::u16string code;
    double result;
};

Evaluated evaluate(std::u16string_view text)
{
    Reckoner reckoner;
    reckoner.setExpression(text);
    reckoner.Calculate();
    return {reckoner.ErrorCode(), reckoner.Result()};
}

std::string narrow(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

// What the evaluator must read a literal as: from_chars' correctly rounded value, bit for bit.
double fromChars(std::string_view text)
{
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::u16string widen(std::string_view text)
{
    return std::u16string(text.begin(), text.end());
}

}  // namespace

TEST(Reckoner, ComputesValues)
{
    struct Row { std::u16string text; double value; };
    const Row rows[] = {
        {u"12", 12},
        {u"12.5", 12.5},
        {u"12.", 12},
        {u".5", 0.5},
        {u"1E+20", 1e20},
        {u"2.5e-3", 2.5e-3},
        {u"1e5", 1e5},
        {u" 1.5+1.5", 3},
        {u"1+2*3", 7},
        {u"(1+2)*3", 9},
        {u"10-4-3", 3},          // left-associative
        {u"48/4/2", 6},
        {u"-2^2", -4},           // unary minus binds looser than ^
        {u"2^-2", 0.25},         // the exponent may start with a sign
        {u"2^3^2", 512},         // right-associative
        {u"2^-2^2", 0.0625},
        {u"3--2", 5},
        {u"2*-3", -6},
        {u"-2*3", -6},
        {u"+-+2", -2},
        {u"( 3)^2+( 3)", 12},
        {u"(-2)^2", 4},
        {u"0^0", 1},
        {u"1\t+\r\n2 ", 3},      // whitespace and line breaks between tokens
        {u"pi", std::numbers::pi},
        {u"PI", std::numbers::pi},
        {u"e", std::numbers::e},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.text));
        const Evaluated got = evaluate(row.text);
        EXPECT_EQ(got.code, u"0");
        EXPECT_DOUBLE_EQ(got.result, row.value);
    }
}

TEST(Reckoner, ComputesFunctions)
{
    struct Row { std::u16string text; double value; };
    const Row rows[] = {
        {u"abs(-3)", 3},
        {u"sqrt(16)", 4},
        {u"sqrt(0)", 0},         // the edges of each domain are inside it
        {u"asin(-1)", -std::numbers::pi / 2},
        {u"acos(-1)", std::numbers::pi},
        {u"cbrt(-8)", -2},
        {u"EXP(2)", std::exp(2.0)},
        {u"Exp(0)", 1},
        {u"ln(e)", 1},
        {u"log(1000)", 3},
        {u"log2(8)", 3},
        {u"Sin(pi/2)", 1},
        {u"cos(0)", 1},
        {u"tan(0)", 0},
        {u"asin(1)", std::numbers::pi / 2},
        {u"acos(1)", 0},
        {u"atan(1)", std::numbers::pi / 4},
        {u"atan2(1, 1)", std::numbers::pi / 4},
        {u"sinh(0)", 0},
        {u"cosh(0)", 1},
        {u"tanh(0)", 0},
        {u"int(2.7)", 2},
        {u"int(-2.5)", -3},      // floor, not truncation
        {u"ceil(2.1)", 3},
        {u"floor(-2.1)", -3},
        {u"round(2.5)", 3},      // halves away from zero
        {u"round(-2.5)", -3},
        {u"round(2.4)", 2},
        {u"sgn(-7)", -1},
        {u"sgn(0)", 0},
        {u"sgn(3)", 1},
        {u"mod(7, 3)", 1},
        {u"mod(-1, 3)", 2},      // floored: sign of the divisor
        {u"mod(1, -3)", -2},
        {u"mod(5.5, 2)", 1.5},
        {u"pow(2, 10)", 1024},
        {u"log10(0.01)", -2},
        {u"trunc(-2.7)", -2},
        {u"sign(-0.5)", -1},
        {u"asinh(0)", 0},
        {u"acosh(1)", 0},
        {u"atanh(0)", 0},
        {u"sqrt (4)", 2},        // space between name and parenthesis
        {u"sin(cos(0)-1)", 0},
        {u"mod(2+3, 2*2)", 1},
        {u"exp(-( 1.5)^2/2)/sqrt(2*pi)", std::exp(-1.125) / std::sqrt(2 * std::numbers::pi)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.text));
        const Evaluated got = evaluate(row.text);
        EXPECT_EQ(got.code, u"0");
        EXPECT_NEAR(got.result, row.value, 1e-12);
    }
}

TEST(Reckoner, ReportsEachKindOfProblem)
{
    struct Row { std::u16string text; std::u16string code; };
    const Row rows[] = {
        // "1": nothing to compute, an unknown name or an unknown character
        {u"", u"1"},
        {u"   \t\r\n", u"1"},
        {u"foo", u"1"},
        {u"varx", u"1"},
        {u"2*vary+1", u"1"},
        {u"1+@", u"1"},
        {u"2 @", u"1"},
        {u"max(1,2)", u"1"},
        {u"1\u00A02", u"1"},     // a no-break space is not whitespace here
        {u"\u00E9", u"1"},
        {u"1;2", u"1"},
        {u"2\v3", u"1"},
        // "2": the text is not a formula
        {u"2 3", u"2"},
        {u"2(3)", u"2"},
        {u"(2)(3)", u"2"},
        {u"2pi", u"2"},
        {u"2e", u"2"},           // the number 2 followed by the constant e
        {u"1e+", u"2"},
        {u"(1", u"2"},
        {u"1)", u"2"},
        {u"()", u"2"},
        {u"1+", u"2"},
        {u"*2", u"2"},
        {u"2**3", u"2"},
        {u"1,2", u"2"},
        {u"sin(1,)", u"2"},
        {u"mod(,1)", u"2"},
        {u"sin", u"2"},
        {u"sin 1", u"2"},
        {u"pi(2)", u"2"},
        {u".", u"2"},
        {u"1.2.3", u"2"},
        {u"1..2", u"2"},
        {u"^2", u"2"},
        // "3": an operator without a finite result
        {u"1/0", u"3"},
        {u"0/0", u"3"},
        {u"1/(2-2)", u"3"},
        {u"0^-1", u"3"},
        {u"(-8)^(1/3)", u"3"},
        {u"10^400", u"3"},
        {u"1e308*10", u"3"},
        {u"-1e308-1e308", u"3"},
        {u"1e400", u"3"},        // a literal out of range
        // "4": a function that cannot be evaluated
        {u"sqrt(-1)", u"4"},
        {u"ln(0)", u"4"},
        {u"ln(-1)", u"4"},
        {u"log(0)", u"4"},
        {u"asin(2)", u"4"},
        {u"acos(-1.5)", u"4"},
        {u"exp(1000)", u"4"},
        {u"cosh(1000)", u"4"},
        {u"mod(1, 0)", u"4"},
        {u"mod(1)", u"4"},
        {u"sin(1, 2)", u"4"},
        {u"sin()", u"4"},
        {u"atan2(1)", u"4"},
        {u"acosh(0.5)", u"4"},
        {u"atanh(1)", u"4"},
        {u"pow(0, -1)", u"4"},
        {u"pow(-8, 1/3)", u"4"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.text));
        const Evaluated got = evaluate(row.text);
        EXPECT_EQ(got.code, row.code);
        EXPECT_EQ(got.result, 0.0);
    }
}

TEST(Reckoner, ReadsTheWholeFormulaBeforeComputing)
{
    // The first reading problem from the left wins; computing problems count only in a formula
    // that reads cleanly, and then the first one computed wins.
    struct Row { std::u16string text; std::u16string code; };
    const Row rows[] = {
        {u"1/0 + @", u"1"},
        {u"1/0 + (2", u"2"},
        {u"sqrt(-1) + mod(1)", u"4"},
        {u"foo + (", u"1"},
        {u"( + foo", u"1"},
        {u"(1 + 2", u"2"},
        {u"2 3 @", u"2"},
        {u"mod(1) @", u"4"},
        {u"sqrt(-1) + 1/0", u"4"},
        {u"1/0 + sqrt(-1)", u"3"},
        {u"1e400 + ln(0)", u"3"},
        {u"2^3^(1/0)", u"3"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.text));
        EXPECT_EQ(evaluate(row.text).code, row.code);
    }
}

TEST(Reckoner, ReadsNumbersWithCorrectRounding)
{
    EXPECT_EQ(evaluate(u"0.1").result, 0.1);
    EXPECT_EQ(evaluate(u"2.2250738585072014e-308").result, 2.2250738585072014e-308);
    EXPECT_EQ(evaluate(u"1.7976931348623157e308").result, 1.7976931348623157e308);
    EXPECT_EQ(evaluate(u"9007199254740993").result, 9007199254740992.0);  // ties to even
    EXPECT_EQ(evaluate(u"1e-400").code, u"0");                         // underflow gives 0
    EXPECT_EQ(evaluate(u"1e-400").result, 0.0);
    EXPECT_EQ(evaluate(u"0.000000000000000000000000000001e30").result, 1.0);
    EXPECT_EQ(evaluate(u"1000000000000000000000000000000e-29").result, 10.0);
}

TEST(Reckoner, ReadsNumbersBitForBitAsFromChars)
{
    const std::string_view texts[] = {
        "0.1", "0.3", "1.1", ".333333333333333", "123.456", "2.5e-3",
        "9007199254740991", "9007199254740992", "9007199254740993", "9007199254740995",
        "4503599627370496.5", "4503599627370497.5",               // ties to even above 2^52
        "1.00000000000000011102230246251565404236316680908203125",  // halfway between doubles
        "1.00000000000000011102230246251565404236316680908203124",
        "1.00000000000000011102230246251565404236316680908203126",
        "1234567890123456789", "12345678901234567890", "18446744073709551616",
        "0.1234567890123456789", "12345678901234567.89", "3.14159265358979323846",
        "1e22", "1e23", "9e22", "1E-22", "1E-23", "123456789e-22", "1e-7", "4.35e-5",
        "000000000000000000000000001.5", "1.50000000000000000000000000",
        "0.000000000000000000000000000001e30",
        "1.7976931348623157e308", "1.7976931348623158e308",      // the largest double
        "2.2250738585072011e-308", "2.2250738585072014e-308",    // either side of the normals
        "4.9406564584124654e-324", "2.4703282292062328e-324",    // the smallest denormal
        "3.33333333333333E-101",
    };
    for (const std::string_view text : texts) {
        SCOPED_TRACE(text);
        const Evaluated got = evaluate(widen(text));
        EXPECT_EQ(got.code, u"0");
        EXPECT_EQ(got.result, fromChars(text));
    }

    // Digits, point and exponent in every mix, many of them near the edges of exactly
    // representable mantissas and powers of ten.
    std::uint64_t state = 42;
    const auto next = [&state] {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return state >> 33;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text = std::to_string(next() * next() >> (next() % 40));
        const std::size_t point = next() % (text.size() + 1);
        if (point < text.size())
            text.insert(point, 1, '.');
        if (next() % 2 == 0) {
            text += 'e';
            text += std::to_string(static_cast<int>(next() % 61) - 30);
        }
        SCOPED_TRACE(text);
        ASSERT_EQ(evaluate(widen(text)).result, fromChars(text));
    }
}

TEST(Reckoner, ReadsLiteralsOutOfRange)
{
    const std::u16string_view tooLarge[] = {
        u"1.7976931348623159e308",  // rounds past the largest double
        u"1e309",
        u"123456789012345678901234567890e300",
        u"0.0000001e316",
    };
    for (const std::u16string_view text : tooLarge) {
        SCOPED_TRACE(narrow(text));
        EXPECT_EQ(evaluate(text).code, u"3");
    }
    const std::u16string_view tooSmall[] = {
        u"2.4703282292062327e-324",  // rounds down to 0
        u"1e-400",
        u"100000e-330",
        u"0e999999999999",
    };
    for (const std::u16string_view text : tooSmall) {
        SCOPED_TRACE(narrow(text));
        const Evaluated got = evaluate(text);
        EXPECT_EQ(got.code, u"0");
        EXPECT_EQ(got.result, 0.0);
    }
}

TEST(Reckoner, KeepsItsLastFormulaCodeAndResult)
{
    Reckoner reckoner;
    reckoner.setExpression(u"6*7");
    reckoner.Calculate();
    reckoner.setExpression(u"1/0");  // not yet calculated
    EXPECT_EQ(reckoner.Expression(), u"1/0");
    EXPECT_EQ(reckoner.ErrorCode(), u"0");
    EXPECT_EQ(reckoner.Result(), 42.0);
    reckoner.Calculate();
    EXPECT_EQ(reckoner.ErrorCode(), u"3");
    reckoner.setExpression(u"2");
    reckoner.Calculate();
    EXPECT_EQ(reckoner.ErrorCode(), u"0");
    EXPECT_EQ(reckoner.Result(), 2.0);
}

TEST(Reckoner, NeverWritesNegativeZero)
{
    const Evaluated got = evaluate(u"-0");
    EXPECT_EQ(got.code, u"0");
    EXPECT_FALSE(std::signbit(got.result));
}

TEST(Reckoner, SurvivesDeepNesting)
{
    constexpr int Depth = 100000;
    const std::u16string nested = std::u16string(Depth, u'(') + u"1" + std::u16string(Depth, u')');
    EXPECT_EQ(evaluate(nested).code, u"0");
    EXPECT_EQ(evaluate(nested + u")").code, u"2");
    EXPECT_EQ(evaluate(std::u16string(Depth, u'(') + u"1").code, u"2");
    EXPECT_EQ(evaluate(std::u16string(Depth, u'-') + u"1").result, 1.0);

    std::u16string calls;
    for (int i = 0; i < Depth; ++i)
        calls += u"abs(";
    calls += u"-2" + std::u16string(Depth, u')');
    EXPECT_EQ(evaluate(calls).result, 2.0);
}

TEST(Reckoner, PointsAtTheProblem)
{
    struct Row { std::u16string text; std::u16string code; std::size_t start, length; };
    const Row rows[] = {
        {u"1+2", u"0", 0, 0},
        // "1": the whole unknown name, the foreign character, nothing for a text without tokens
        {u"", u"1", 0, 0},
        {u" \t\r\n", u"1", 0, 0},
        {u"1+foo(2)", u"1", 2, 3},
        {u"2*vary+1", u"1", 2, 4},
        {u"1+@", u"1", 2, 1},
        {u"2 @", u"1", 2, 1},
        {u"1+\U0001F600", u"1", 2, 2},  // a surrogate pair is one character
        {u"1+\xD800" u"2", u"1", 2, 1},
        // "2": the first token that breaks the formula, the end of a text that stops too early,
        // the innermost parenthesis left open, a stray one
        {u"2*)", u"2", 2, 1},
        {u"1 2", u"2", 2, 1},
        {u"2 3.5e+2", u"2", 2, 6},
        {u"1.2.3", u"2", 3, 2},
        {u"2pi", u"2", 1, 2},
        {u"sin 1", u"2", 4, 1},
        {u"sin", u"2", 3, 0},
        {u"1+", u"2", 2, 0},
        {u"1+ \t", u"2", 4, 0},
        {u"(1+(2", u"2", 3, 1},
        {u"((1+2)*3", u"2", 0, 1},
        {u"2*sin (1", u"2", 6, 1},
        {u"1)", u"2", 1, 1},
        {u"(1,2)", u"2", 2, 1},
        {u"()", u"2", 1, 1},
        {u".", u"2", 0, 1},
        // "3": the operator whose result failed, a literal too large
        {u"1/0", u"3", 1, 1},
        {u"0^-1", u"3", 1, 1},
        {u"1e308*10", u"3", 5, 1},
        {u"2+1e400", u"3", 2, 5},
        // "4": the function's name, whatever failed in the call
        {u"2+sqrt(-1)", u"4", 2, 4},
        {u"LN (0)", u"4", 0, 2},
        {u"1+mod(1)", u"4", 2, 3},
        {u"sin()", u"4", 0, 3},
        // the problem that decided the code: reading first, then the first one computed
        {u"1/0 + @", u"1", 6, 1},
        {u"1/0 + sqrt(-1)", u"3", 1, 1},
        {u"sqrt(-1) + 1/0", u"4", 0, 4},
        {u"1/(0*1e400)", u"3", 5, 5},  // the literal is noted while reading, before the /
        {u"2^3^(1/0)", u"3", 6, 1},
    };
    Reckoner reused;  // what an earlier formula left must not show
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.text));
        Reckoner fresh;
        for (Reckoner* reckoner : {&fresh, &reused}) {
            reckoner->setExpression(row.text);
            reckoner->Calculate();
            EXPECT_EQ(reckoner->ErrorCode(), row.code);
            EXPECT_EQ(reckoner->ErrorPosition(), row.start);
            EXPECT_EQ(reckoner->ErrorLength(), row.length);
        }
    }
}
