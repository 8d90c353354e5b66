#include "eval/number_forms.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace {

// Sign, 15 digits, separator and a three-digit exponent: -1.23456789012345E-308
constexpr std::size_t MaxNumberLength = 22;

struct Decimal
{
    bool isNegative = false;
    std::string digits;  // significant digits, no trailing zeros; "0" for zero
    int exponent = 0;    // of the first digit
};

Decimal decompose(double value)
{
    Decimal d;
    if (value == 0.0) {
        d.digits.push_back('0');
        return d;
    }
    d.isNegative = value < 0.0;
    char buffer[32];
    // 15 significant digits, correctly rounded, locale-free: d.dddddddddddddde±XX
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    for (char c : text.substr(0, e)) {
        if (c != '.')
            d.digits.push_back(c);
    }
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), exponent);
    d.exponent = exponent;
    return d;
}

// Appends the unsigned text of a finite value; `leadingZero` puts a 0 before a separator that
// would start it.
void appendUnsigned(std::u16string& out, const Decimal& d, char16_t decimalPoint, bool leadingZero)
{
    const auto put = [&out](std::string_view chars) {
        for (char c : chars)
            out.push_back(static_cast<char16_t>(c));
    };
    const std::string_view digits = d.digits;
    if (d.exponent < -4 || d.exponent >= 15) {
        put(digits.substr(0, 1));
        if (digits.size() > 1) {
            out.push_back(decimalPoint);
            put(digits.substr(1));
        }
        out.push_back(u'E');
        out.push_back(d.exponent < 0 ? u'-' : u'+');
        const int magnitude = std::abs(d.exponent);
        if (magnitude < 10)
            out.push_back(u'0');
        put(std::to_string(magnitude));
    } else if (d.exponent >= 0) {
        const std::size_t whole = static_cast<std::size_t>(d.exponent) + 1;
        if (digits.size() <= whole) {
            put(digits);
            out.append(whole - digits.size(), u'0');
        } else {
            put(digits.substr(0, whole));
            out.push_back(decimalPoint);
            put(digits.substr(whole));
        }
    } else {
        if (leadingZero)
            out.push_back(u'0');
        out.push_back(decimalPoint);
        out.append(static_cast<std::size_t>(-d.exponent - 1), u'0');
        put(digits);
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
    std::u16string out;
    out.reserve(MaxNumberLength);
    out.push_back(d.isNegative ? u'-' : u' ');
    appendUnsigned(out, d, u'.', false);
    return out;
}

std::u16string displayForm(double value, char16_t decimalPoint)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    const Decimal d = decompose(value);
    std::u16string out;
    out.reserve(MaxNumberLength);
    if (d.isNegative)
        out.push_back(u'-');
    appendUnsigned(out, d, decimalPoint, true);
    return out;
}
