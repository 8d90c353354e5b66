#include "cli/batch_request.h"

#include "eval/limits.h"
#include "text/json_lone_surrogates.h"
#include "text/utf16.h"
#include "text/utf8.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace {

using Json = nlohmann::json;

using jsonlone::LoneSurrogate;
using jsonlone::maskLoneSurrogates;

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
        if (++m_depth > MaxRequestNesting) {
            m_syntaxError = TooDeepText;
            return false;
        }
        return true;
    }

    bool close()
    {
        --m_depth;
        return true;
    }

    void notAnObject() { report(NotAnObjectText); }

    void notAString()
    {
        if (m_target != nullptr)
            report(u'"' + m_key + NotAStringText);
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

// The JSON parser's whitespace.
bool isSpace(unsigned char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
}

}  // namespace

std::u16string readRequest(std::string_view line, Formulas& formulas)
{
    RequestScanner scanner(formulas);
    if (scanner.feed(line) && scanner.finish())
        return {};
    return parseRequest(line, formulas);
}

RequestScanner::RequestScanner(Formulas& formulas, std::size_t heldUnits)
    : m_formulas(formulas), m_heldUnits(heldUnits)
{
    for (std::u16string* text : {&formulas.main, &formulas.x, &formulas.y, &formulas.z})
        text->clear();  // keeps their capacity for the next line
}

bool RequestScanner::feed(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size() && m_at != At::Failed) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (m_at == At::Value && byte >= 0x20 && byte < 0x80 && byte != '"' && byte != '\\') {
            // the bulk of a line: a run of plain characters
            std::size_t end = i + 1;
            while (end < bytes.size()) {
                const auto next = static_cast<unsigned char>(bytes[end]);
                if (next < 0x20 || next >= 0x80 || next == '"' || next == '\\')
                    break;
                ++end;
            }
            putAscii(bytes.substr(i, end - i));
            i = end;
            continue;
        }
        step(byte);
        ++i;
    }
    return m_at != At::Failed;
}

bool RequestScanner::finish()
{
    if (m_at != At::End && m_at != At::Ignored)
        return false;
    for (std::size_t k = 0; k < m_shortened.size(); ++k) {
        Shortened& cut = m_shortened[k];
        if (!cut.isActive)
            continue;
        std::u16string& text = formula(k);
        // A formula past the limit must stay past it whatever its kept end holds; no unit of it
        // is evaluated.
        if (cut.trimmed() > MaxFormulaLength)
            text[cut.keptLeading + MaxFormulaLength] = u'1';
    }
    return true;
}

void RequestScanner::placeProblem(Outcome& outcome) const
{
    if (!outcome.problem)
        return;
    Problem& problem = *outcome.problem;
    const Shortened& cut = m_shortened[static_cast<std::size_t>(problem.formula)];
    if (!cut.isActive || cut.trimmed() == 0)
        return;  // a blank formula's problem lies at its start, however many spaces it holds
    problem.start += cut.leading - cut.keptLeading;
    if (cut.trimmed() > MaxFormulaLength)
        problem.length = cut.trimmed() - MaxFormulaLength;
}

std::u16string& RequestScanner::formula(std::size_t index)
{
    // indexed as the stages: Z, Y, X, main
    std::u16string* const texts[] = {&m_formulas.z, &m_formulas.y, &m_formulas.x,
                                     &m_formulas.main};
    return *texts[index];
}

void RequestScanner::step(unsigned char byte)
{
    switch (m_at) {
    case At::Start:
        if (byte == '{') {
            m_at = At::Open;
        } else if (byte == 0xEF && !m_hasBytes) {
            m_at = At::ByteOrderMark;
            m_pendingSize = 1;
        } else if (!isSpace(byte)) {
            m_at = At::Failed;
        }
        m_hasBytes = true;
        return;
    case At::ByteOrderMark:
        if (byte != (m_pendingSize == 1 ? 0xBB : 0xBF))
            m_at = At::Failed;
        else if (++m_pendingSize == 3)
            m_at = At::Start;
        return;
    case At::Open:
    case At::NextKey:
        if (byte == '"') {
            m_at = At::Key;
            m_keySize = 0;
        } else if (byte == '}' && m_at == At::Open) {
            m_at = At::End;
        } else if (!isSpace(byte)) {
            m_at = At::Failed;
        }
        return;
    case At::Key:
        if (byte == '\\') {
            m_at = At::KeyEscape;
            m_pendingSize = 0;
        } else if (byte != '"') {
            keyUnit(byte);
        } else {
            const std::string_view name(m_key.data(), m_keySize);
            const Stage stage = name == "main" ? Stage::Main
                                : name == "x"  ? Stage::X
                                : name == "y"  ? Stage::Y
                                               : Stage::Z;
            m_target = static_cast<std::size_t>(stage);
            m_at = name == "main" || name == "x" || name == "y" || name == "z" ? At::AfterKey
                                                                                : At::Failed;
        }
        return;
    case At::AfterKey:
        if (byte == ':')
            m_at = At::BeforeValue;
        else if (!isSpace(byte))
            m_at = At::Failed;
        return;
    case At::BeforeValue:
        if (byte == '"') {
            m_at = At::Value;
            formula(m_target).clear();  // the last of a repeated key counts
            m_shortened[m_target] = Shortened();
        } else if (!isSpace(byte)) {
            m_at = At::Failed;
        }
        return;
    case At::Value:
        value(byte);
        return;
    case At::Escape:
    case At::KeyEscape:
        escape(byte);
        return;
    case At::Sequence:
        sequence(byte);
        return;
    case At::AfterValue:
        if (byte == ',')
            m_at = At::NextKey;
        else if (byte == '}')
            m_at = At::End;
        else if (!isSpace(byte))
            m_at = At::Failed;
        return;
    case At::End:
        // the parser reads a NUL between tokens as the end of its input
        if (byte == 0)
            m_at = At::Ignored;
        else if (!isSpace(byte))
            m_at = At::Failed;
        return;
    case At::Ignored:
    case At::Failed:
        return;
    }
}

void RequestScanner::value(unsigned char byte)
{
    if (byte == '"') {
        m_at = At::AfterValue;
    } else if (byte == '\\') {
        m_at = At::Escape;
        m_pendingSize = 0;
    } else if (byte < 0x20) {
        m_at = At::Failed;
    } else if (byte < 0x80) {
        put(byte);
    } else {
        // As strict as the JSON parser: no overlong forms, no encoded surrogates, nothing
        // above U+10FFFF.
        m_sequenceLength = byte >= 0xC2 && byte <= 0xDF   ? 2
                           : byte >= 0xE0 && byte <= 0xEF ? 3
                           : byte >= 0xF0 && byte <= 0xF4 ? 4
                                                          : 0;
        if (m_sequenceLength == 0) {
            m_at = At::Failed;
            return;
        }
        m_low = byte == 0xE0 ? 0xA0 : byte == 0xF0 ? 0x90 : 0x80;
        m_high = byte == 0xED ? 0x9F : byte == 0xF4 ? 0x8F : 0xBF;
        m_codePoint = byte & (0x7F >> m_sequenceLength);
        m_pendingSize = 1;
        m_at = At::Sequence;
    }
}

void RequestScanner::sequence(unsigned char byte)
{
    const bool isSecond = m_pendingSize == 1;
    if (byte < (isSecond ? m_low : 0x80) || byte > (isSecond ? m_high : 0xBF)) {
        m_at = At::Failed;
        return;
    }
    m_codePoint = (m_codePoint << 6) | (byte & 0x3F);
    if (++m_pendingSize < m_sequenceLength)
        return;
    if (m_codePoint >= 0x10000) {
        put(static_cast<char16_t>(0xD800 + ((m_codePoint - 0x10000) >> 10)));
        put(static_cast<char16_t>(0xDC00 + ((m_codePoint - 0x10000) & 0x3FF)));
    } else {
        put(static_cast<char16_t>(m_codePoint));
    }
    m_at = At::Value;
}

// Every \u escape is the unit it names, a lone surrogate included.
void RequestScanner::escape(unsigned char byte)
{
    if (m_pendingSize == 0) {
        constexpr std::string_view Short = "\"\\/bfnrt";
        constexpr std::u16string_view Units = u"\"\\/\b\f\n\r\t";
        if (const std::size_t k = Short.find(static_cast<char>(byte));
            k != std::string_view::npos) {
            escaped(Units[k]);
        } else if (byte == 'u') {
            m_pendingSize = 1;
            m_codePoint = 0;
        } else {
            m_at = At::Failed;
        }
        return;
    }
    const int digit = byte >= '0' && byte <= '9'   ? byte - '0'
                      : byte >= 'a' && byte <= 'f' ? byte - 'a' + 10
                      : byte >= 'A' && byte <= 'F' ? byte - 'A' + 10
                                                   : -1;
    if (digit < 0) {
        m_at = At::Failed;
        return;
    }
    m_codePoint = m_codePoint * 16 + static_cast<char32_t>(digit);
    if (++m_pendingSize == 5) {
        escaped(static_cast<char16_t>(m_codePoint));
    }
}

void RequestScanner::escaped(char16_t unit)
{
    if (m_at == At::KeyEscape) {
        m_at = At::Key;
        keyUnit(unit);
    } else {
        m_at = At::Value;
        put(unit);
    }
}

// A known key is short and plain ASCII.
void RequestScanner::keyUnit(char16_t unit)
{
    if (m_keySize == m_key.size() || unit < 0x20 || unit >= 0x80)
        m_at = At::Failed;
    else
        m_key[m_keySize++] = static_cast<char>(unit);
}

void RequestScanner::putAscii(std::string_view run)
{
    std::u16string& text = formula(m_target);
    if (!m_shortened[m_target].isActive && text.size() + run.size() <= m_heldUnits) {
        text.append(run.begin(), run.end());
        return;
    }
    for (const char c : run)
        put(static_cast<char16_t>(c));
}

void RequestScanner::put(char16_t unit)
{
    std::u16string& text = formula(m_target);
    Shortened& cut = m_shortened[m_target];
    if (!cut.isActive && text.size() < m_heldUnits) {
        text.push_back(unit);
        return;
    }
    if (!cut.isActive)
        shorten(text, cut);
    const std::size_t index = cut.units++;
    if (cut.isInLeading && unit == u' ') {
        ++cut.leading;
        if (text.size() < m_heldUnits)
            text.push_back(u' ');
        cut.keptLeading = text.size();
        return;
    }
    cut.isInLeading = false;
    if (unit != u' ')
        cut.lastNonSpace = index;
    if (text.size() < cut.keptLeading + MaxFormulaLength + 1)
        text.push_back(unit);
}

// From here on the text keeps what decides its outcome: its leading spaces (as many as it
// can hold), then the first units past them, one more than a formula may have.
void RequestScanner::shorten(std::u16string& text, Shortened& cut)
{
    cut.isActive = true;
    cut.units = text.size();
    const std::size_t first = text.find_first_not_of(u' ');
    cut.isInLeading = first == std::u16string::npos;
    cut.leading = cut.isInLeading ? text.size() : first;
    cut.keptLeading = cut.leading;
    if (!cut.isInLeading) {
        cut.lastNonSpace = text.find_last_not_of(u' ');
        text.resize(std::min(text.size(), cut.leading + MaxFormulaLength + 1));
    }
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
