#include "eval/number_forms.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace {

struct Decimal
{
    bool isNegative = false;
    std::array<char, 15> digits{};  // significant digits, no trailing zeros; "0" for zero
    std::size_t digitCount = 0;
    int exponent = 0;               // of the first digit

    std::string_view significand() const { return {digits.data(), digitCount}; }
};

// Splits the text of std::to_chars in scientific form, d.ddde±XX, into the decimal.
void takeScientific(std::string_view text, Decimal& d)
{
    const std::size_t e = text.find('e');
    for (const char c : text.substr(0, e)) {
        if (c != '.')
            d.digits[d.digitCount++] = c;
    }
    while (d.digitCount > 1 && d.digits[d.digitCount - 1] == '0')
        --d.digitCount;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(),
                    d.exponent);
}

Decimal decompose(double value)
{
    Decimal d;
    if (value == 0.0) {
        d.digits[0] = '0';
        d.digitCount = 1;
        return d;
    }
    d.isNegative = value < 0.0;
    const double magnitude = std::fabs(value);
    char buffer[32];
    // The shortest text that reads back as the value is much quicker to find than a rounding to
    // 15 digits, and the same digits when it has 15 or fewer and the value is normal: it then
    // lies within half a unit in the last place of the value, and units in the 15th digit are
    // more than four times wider, so no other 15-digit decimal is nearer. Below the normals a
    // unit in the last place is no longer relative to the value, and this does not hold.
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                std::chars_format::scientific);
    const std::string_view shortest(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t mantissaLength = shortest.find('e');
    const std::size_t shortestDigits = mantissaLength - (mantissaLength > 1 ? 1 : 0);
    if (magnitude >= std::numeric_limits<double>::min() && shortestDigits <= d.digits.size()) {
        takeScientific(shortest, d);
        return d;
    }
    // 15 significant digits, correctly rounded, locale-free: d.dddddddddddddde±XX
    result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                           std::chars_format::scientific, 14);
    takeScientific(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)), d);
    return d;
}

// Room for the longest forms: -0.000ddddddddddddddd (21 units) and -d.ddddddddddddddE-308 (22).
class NumberText
{
public:
    void put(char16_t c) { m_units[m_size++] = c; }
    void put(std::string_view ascii)
    {
        for (const char c : ascii)
            put(static_cast<char16_t>(c));
    }
    void repeat(char16_t c, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i)
            put(c);
    }
    std::u16string text() const { return {m_units.data(), m_size}; }

private:
    std::array<char16_t, 24> m_units{};
    std::size_t m_size = 0;
};

// The unsigned text of a finite value; `leadingZero` puts a 0 before a separator that would
// start it.
void putUnsigned(NumberText& out, const Decimal& d, char16_t decimalPoint, bool leadingZero)
{
    const std::string_view digits = d.significand();
    if (d.exponent < -4 || d.exponent >= 15) {
        out.put(digits.substr(0, 1));
        if (digits.size() > 1) {
            out.put(decimalPoint);
            out.put(digits.substr(1));
        }
        out.put(u'E');
        out.put(d.exponent < 0 ? u'-' : u'+');
        const int magnitude = std::abs(d.exponent);
        if (magnitude < 10)
            out.put(u'0');
        char exponent[4];
        const auto written = std::to_chars(exponent, exponent + sizeof exponent, magnitude);
        out.put(std::string_view(exponent, static_cast<std::size_t>(written.ptr - exponent)));
    } else if (d.exponent >= 0) {
        const std::size_t whole = static_cast<std::size_t>(d.exponent) + 1;
        if (digits.size() <= whole) {
            out.put(digits);
            out.repeat(u'0', whole - digits.size());
        } else {
            out.put(digits.substr(0, whole));
            out.put(decimalPoint);
            out.put(digits.substr(whole));
        }
    } else {
        if (leadingZero)
            out.put(u'0');
        out.put(decimalPoint);
        out.repeat(u'0', static_cast<std::size_t>(-d.exponent - 1));
        out.put(digits);
    }
}

std::u16string nonFiniteText(double value)
{
    if (std::isnan(value))
        return u"NaN";
    return value < 0 ? u"-Infinity" : u"Infinity";
}

}  // namespace

std::u16string substitutionForm(double value)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    const Decimal d = decompose(value);
    NumberText out;
    out.put(d.isNegative ? u'-' : u' ');
    putUnsigned(out, d, u'.', false);
    return out.text();
}

std::u16string displayForm(double value, char16_t decimalPoint)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    const Decimal d = decompose(value);
    NumberText out;
    if (d.isNegative)
        out.put(u'-');
    putUnsigned(out, d, decimalPoint, true);
    return out.text();
}
