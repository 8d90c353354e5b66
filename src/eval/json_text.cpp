#include "eval/json_text.h"

#include "text/utf16.h"
#include "text/utf8.h"

#include <cstdio>

namespace {

void appendEscape(std::string& out, char16_t unit)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(unit));
    out += buffer;
}

void appendField(std::string& out, std::string_view key, const std::optional<std::u16string>& value)
{
    out += '"';
    out += key;
    out += "\":";
    out += value ? jsonString(*value) : "null";
}

}  // namespace

std::string jsonString(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'"' || c == u'\\') {
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
    out.push_back('"');
    return out;
}

std::string outcomeJson(const Outcome& outcome)
{
    std::string out = "{";
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
        out += jsonString(formulaName(outcome.problem->formula));
        out += ",\"start\":" + std::to_string(outcome.problem->start);
        out += ",\"length\":" + std::to_string(outcome.problem->length);
        out += '}';
    } else {
        out += "null";
    }
    out += '}';
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

std::string errorJson(std::u16string_view problem)
{
    std::string out = "{\"error\":";
    out += jsonString(problem);
    out += '}';
    return out;
}
