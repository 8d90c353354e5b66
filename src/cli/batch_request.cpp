#include "cli/batch_request.h"

#include "text/utf16.h"
#include "text/utf8.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace {

using Json = nlohmann::json;

// Deeper lines are refused as they are read; a request itself is one level deep.
constexpr std::size_t MaxNesting = 1000;
constexpr char16_t TooDeep[] = u"nested more than 1000 levels deep";

// A \u escape of a lone surrogate, which the JSON parser refuses although such units are
// formula text like any other.
struct LoneSurrogate
{
    std::size_t string;  // which string of the line, keys included, from 0
    std::size_t offset;  // 0-based, in UTF-16 units of the decoded string
    char16_t unit;
};

std::optional<char16_t> escapedUnit(std::string_view line, std::size_t i)
{
    if (i + 6 > line.size() || line[i] != '\\' || line[i + 1] != 'u')
        return std::nullopt;
    char16_t unit = 0;
    for (std::size_t k = i + 2; k < i + 6; ++k) {
        const char c = line[k];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0)
            return std::nullopt;
        unit = static_cast<char16_t>(unit * 16 + digit);
    }
    return unit;
}

// Writes U+FFFD over each lone-surrogate escape; the line keeps its length, so the parser's
// columns stay right. Offsets are exact for every line the parser accepts.
std::vector<LoneSurrogate> maskLoneSurrogates(std::string& line)
{
    std::vector<LoneSurrogate> found;
    bool inString = false;
    std::size_t string = 0;
    std::size_t offset = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (!inString) {
            inString = byte == '"';
            offset = 0;
            ++i;
        } else if (byte == '"') {
            inString = false;
            ++string;
            ++i;
        } else if (byte == '\\') {
            const std::optional<char16_t> unit = escapedUnit(line, i);
            const std::optional<char16_t> next = escapedUnit(line, i + 6);
            if (unit && utf16::isHighSurrogate(*unit) && next && utf16::isLowSurrogate(*next)) {
                offset += 2;
                i += 12;
            } else if (unit && utf16::isSurrogate(*unit)) {
                found.push_back({string, offset, *unit});
                line.replace(i + 2, 4, "fffd");
                ++offset;
                i += 6;
            } else {
                ++offset;
                i += unit ? 6 : 2;
            }
        } else {
            if (byte < 0x80 || byte >= 0xC0)  // continuation bytes add no unit
                offset += byte >= 0xF0 ? 2 : 1;
            ++i;
        }
    }
    return found;
}

class RequestReader final : public nlohmann::json_sax<Json>
{
public:
    RequestReader(Formulas& formulas, const std::vector<LoneSurrogate>& loneSurrogates)
        : m_formulas(formulas), m_loneSurrogates(loneSurrogates)
    {
    }

    std::u16string problem() const
    {
        return m_syntaxError.empty() ? m_problem : u"not JSON: " + m_syntaxError;
    }

    bool null() override { return scalar(); }
    bool boolean(bool) override { return scalar(); }
    bool number_integer(number_integer_t) override { return scalar(); }
    bool number_unsigned(number_unsigned_t) override { return scalar(); }
    bool number_float(number_float_t, const string_t&) override { return scalar(); }
    bool binary(binary_t&) override { return scalar(); }

    bool string(string_t& value) override
    {
        std::u16string text = decoded(value);
        if (m_depth == 0)
            notAnObject();
        else if (m_depth == 1 && m_target != nullptr)
            *m_target = std::move(text);
        return true;
    }

    bool key(string_t& value) override
    {
        std::u16string name = decoded(value);
        if (m_depth != 1)
            return true;
        m_key = std::move(name);
        m_target = m_key == u"main" ? &m_formulas.main
                   : m_key == u"x"  ? &m_formulas.x
                   : m_key == u"y"  ? &m_formulas.y
                   : m_key == u"z"  ? &m_formulas.z
                                    : nullptr;
        if (m_target == nullptr)
            report(u"unknown key \"" + m_key + u'"');
        return true;
    }

    bool start_object(std::size_t) override { return open(false); }
    bool start_array(std::size_t) override { return open(true); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override
    {
        // The parser's line is always 1; the column is a byte count within the request.
        const std::string_view what = e.what();
        const std::size_t column = what.find("column ");
        m_syntaxError = utf8::decode(column == std::string_view::npos ? what : what.substr(column));
        return false;
    }

private:
    std::u16string decoded(const string_t& value)
    {
        std::u16string text = utf8::decode(value);
        for (; m_nextLone < m_loneSurrogates.size(); ++m_nextLone) {
            const LoneSurrogate& lone = m_loneSurrogates[m_nextLone];
            if (lone.string != m_strings)
                break;
            if (lone.offset < text.size())
                text[lone.offset] = lone.unit;
        }
        ++m_strings;
        return text;
    }

    bool scalar()
    {
        if (m_depth == 0)
            notAnObject();
        else if (m_depth == 1)
            notAString();
        return true;
    }

    bool open(bool isArray)
    {
        if (m_depth == 0 && isArray)
            notAnObject();
        else if (m_depth == 1)
            notAString();
        if (++m_depth > MaxNesting) {
            m_syntaxError = TooDeep;
            return false;
        }
        return true;
    }

    bool close()
    {
        --m_depth;
        return true;
    }

    void notAnObject() { report(u"not a JSON object"); }

    void notAString()
    {
        if (m_target != nullptr)
            report(u'"' + m_key + u"\" is not a string");
    }

    // The first problem in the line is the one told; a syntax error anywhere outranks it.
    void report(std::u16string problem)
    {
        if (m_problem.empty())
            m_problem = std::move(problem);
    }

    Formulas& m_formulas;
    const std::vector<LoneSurrogate>& m_loneSurrogates;
    std::size_t m_depth = 0;
    std::size_t m_strings = 0;  // strings decoded so far, keys included
    std::size_t m_nextLone = 0;  // the first of m_loneSurrogates not yet put back
    std::u16string m_key;
    std::u16string* m_target = nullptr;  // the formula the current key names
    std::u16string m_problem;
    std::u16string m_syntaxError;
};

// The common request, {"main":"...",...} with the four known keys and string values, read in
// one pass without allocating beyond the formulas' own growth. Anything else, a syntax error
// included, is left to the JSON parser, so that every answer and every error text comes from
// one place; false then, with the formulas in no particular state.
class SimpleRequest
{
public:
    SimpleRequest(std::string_view line, Formulas& formulas) : m_line(line), m_formulas(formulas)
    {
    }

    bool read()
    {
        for (std::u16string* text : {&m_formulas.main, &m_formulas.x, &m_formulas.y, &m_formulas.z})
            text->clear();  // keeps their capacity for the next line
        skipSpace();
        if (!take('{'))
            return false;
        skipSpace();
        if (take('}'))
            return atEnd();
        for (;;) {
            std::u16string* const target = key();
            if (target == nullptr)
                return false;
            skipSpace();
            if (!take(':'))
                return false;
            skipSpace();
            if (!take('"') || !value(*target))
                return false;
            skipSpace();
            if (take('}'))
                return atEnd();
            if (!take(','))
                return false;
            skipSpace();
        }
    }

private:
    bool atEnd()
    {
        skipSpace();
        return m_at == m_line.size();
    }

    // The JSON parser's whitespace.
    void skipSpace()
    {
        while (m_at < m_line.size()) {
            const char c = m_line[m_at];
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
                break;
            ++m_at;
        }
    }

    bool take(char c)
    {
        if (m_at >= m_line.size() || m_line[m_at] != c)
            return false;
        ++m_at;
        return true;
    }

    // A key spelled without escapes; nullptr for any other.
    std::u16string* key()
    {
        if (!take('"'))
            return nullptr;
        const std::size_t end = m_line.find('"', m_at);
        if (end == std::string_view::npos)
            return nullptr;
        const std::string_view name = m_line.substr(m_at, end - m_at);
        m_at = end + 1;
        return name == "main" ? &m_formulas.main
               : name == "x"  ? &m_formulas.x
               : name == "y"  ? &m_formulas.y
               : name == "z"  ? &m_formulas.z
                              : nullptr;
    }

    // After the opening quote. Every \u escape is the unit it names, a lone surrogate included.
    bool value(std::u16string& text)
    {
        text.clear();
        while (m_at < m_line.size()) {
            const auto byte = static_cast<unsigned char>(m_line[m_at]);
            if (byte == '"') {
                ++m_at;
                return true;
            }
            if (byte == '\\') {
                if (!escape(text))
                    return false;
            } else if (byte >= 0x20 && byte < 0x80) {
                text.push_back(byte);
                ++m_at;
            } else if (byte < 0x20 || !multiByte(text)) {
                return false;
            }
        }
        return false;
    }

    bool escape(std::u16string& text)
    {
        if (m_at + 1 >= m_line.size())
            return false;
        const char c = m_line[m_at + 1];
        constexpr std::string_view Short = "\"\\/bfnrt";
        constexpr std::u16string_view Units = u"\"\\/\b\f\n\r\t";
        if (const std::size_t k = Short.find(c); k != std::string_view::npos) {
            text.push_back(Units[k]);
            m_at += 2;
            return true;
        }
        const std::optional<char16_t> unit = escapedUnit(m_line, m_at);
        if (!unit)
            return false;
        text.push_back(*unit);
        m_at += 6;
        return true;
    }

    // A well-formed UTF-8 sequence, as strict as the JSON parser: no overlong forms, no encoded
    // surrogates, nothing above U+10FFFF.
    bool multiByte(std::u16string& text)
    {
        const auto at = [this](std::size_t k) {
            return m_at + k < m_line.size() ? static_cast<unsigned char>(m_line[m_at + k]) : 0u;
        };
        const unsigned lead = at(0);
        const unsigned second = at(1);
        std::size_t length = 0;
        unsigned low = 0x80;
        unsigned high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (second < low || second > high)
            return false;
        char32_t value = lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned next = at(k);
            if ((next & 0xC0) != 0x80)
                return false;
            value = (value << 6) | (next & 0x3F);
        }
        if (value >= 0x10000) {
            text.push_back(static_cast<char16_t>(0xD800 + ((value - 0x10000) >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + ((value - 0x10000) & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(value));
        }
        m_at += length;
        return true;
    }

    std::string_view m_line;
    Formulas& m_formulas;
    std::size_t m_at = 0;
};

}  // namespace

std::u16string readRequest(std::string_view line, Formulas& formulas)
{
    if (SimpleRequest(line, formulas).read())
        return {};
    return parseRequest(line, formulas);
}

std::u16string parseRequest(std::string_view line, Formulas& formulas)
{
    formulas = Formulas();
    std::string masked(line);
    const std::vector<LoneSurrogate> loneSurrogates = maskLoneSurrogates(masked);
    RequestReader reader(formulas, loneSurrogates);
    Json::sax_parse(masked, &reader);
    std::u16string problem = reader.problem();
    if (!problem.empty())
        formulas = Formulas();
    return problem;
}
