#include "eval/json_text.h"

#include "text/utf16.h"
#include "text/utf8.h"

#include <charconv>

namespace {

void appendEscape(std::string& out, char16_t unit)
{
    constexpr char Digits[] = "0123456789abcdef";
    const char escape[] = {'\\', 'u', Digits[(unit >> 12) & 0xF], Digits[(unit >> 8) & 0xF],
                           Digits[(unit >> 4) & 0xF], Digits[unit & 0xF]};
    out.append(escape, sizeof escape);
}

void appendNumber(std::string& out, std::size_t n)
{
    char digits[24];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, n);
    out.append(digits, end.ptr);
}

void appendField(std::string& out, std::string_view key, const std::optional<std::u16string>& value)
{
    out += '"';
    out += key;
    out += "\":";
    if (value)
        appendJsonString(out, *value);
    else
        out += "null";
}

}  // namespace

void appendJsonString(std::string& out, std::u16string_view text)
{
    out.push_back('"');
    appendJsonStringContent(out, text);
    out.push_back('"');
}

void appendJsonStringContent(std::string& out, std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0x20 && c < 0x7F && c != u'"' && c != u'\\') {
            out.push_back(static_cast<char>(c));
        } else if (c == u'"' || c == u'\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        } else if (c == u'\n') {
            out += "\\n";
        } else if (c == u'\r') {
            out += "\\r";
        } else if (c == u'\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            appendEscape(out, c);
        } else if (utf16::startsPair(text, i)) {
            utf8::append(out, utf16::pairValue(text, i));
            ++i;
        } else if (utf16::isSurrogate(c)) {
            appendEscape(out, c);
        } else {
            utf8::append(out, c);
        }
    }
}

std::string jsonString(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    appendJsonString(out, text);
    return out;
}

void appendOutcomeJson(std::string& out, const Outcome& outcome)
{
    out += '{';
    appendField(out, "main", outcome.main);
    out += ',';
    appendField(out, "x", outcome.x);
    out += ',';
    appendField(out, "y", outcome.y);
    out += ',';
    appendField(out, "z", outcome.z);
    out += ',';
    appendField(out, "status", outcome.status);
    out += ",\"problem\":";
    if (outcome.problem) {
        out += "{\"formula\":";
        appendJsonString(out, formulaName(outcome.problem->formula));
        out += ",\"start\":";
        appendNumber(out, outcome.problem->start);
        out += ",\"length\":";
        appendNumber(out, outcome.problem->length);
        out += '}';
    } else {
        out += "null";
    }
    out += '}';
}

std::string outcomeJson(const Outcome& outcome)
{
    std::string out;
    appendOutcomeJson(out, outcome);
    return out;
}

std::u16string_view formulaName(Stage formula)
{
    switch (formula) {
    case Stage::Z:
        return u"z";
    case Stage::Y:
        return u"y";
    case Stage::X:
        return u"x";
    case Stage::Main:
        break;
    }
    return u"main";
}

void appendErrorJson(std::string& out, std::u16string_view problem)
{
    out += "{\"error\":";
    appendJsonString(out, problem);
    out += '}';
}

std::string errorJson(std::u16string_view problem)
{
    std::string out;
    appendErrorJson(out, problem);
    return out;
}
