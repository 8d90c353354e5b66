#include "cli/batch_refusal.h"

#include "cli/batch_request.h"
#include "eval/json_text.h"
#include "text/json_lone_surrogates.h"
#include "text/utf16.h"
#include "text/utf8.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr int Eof = -1;
constexpr std::size_t BlockBytes = 1 << 16;

// The bytes of a line from `offset` on, with each lone-surrogate escape masked as parseRequest
// masks it for its parser. `offset` must lie outside every string: the line's start, or the
// start of a token.
class MaskedBytes
{
public:
    MaskedBytes(LineSource& line, std::size_t offset) : m_line(line) { m_line.seek(offset); }

    int get()
    {
        while (m_next == m_decided) {
            if (!advance())
                return Eof;
        }
        return static_cast<unsigned char>(m_window[m_next++]);
    }

private:
    bool advance()
    {
        m_window.erase(0, m_next);
        m_decided -= m_next;
        m_next = 0;
        if (!m_isAtEnd) {
            m_line.read(m_block, BlockBytes);
            m_isAtEnd = m_block.empty();
            m_window += m_block;
        } else if (m_decided == m_window.size()) {
            return false;
        }
        decide();
        return true;
    }

    // An escape is decided by the twelve bytes from its backslash.
    void decide()
    {
        while (m_decided < m_window.size()) {
            const std::size_t i = m_decided;
            const char byte = m_window[i];
            if (!m_isInString || byte == '"') {
                m_isInString = !m_isInString && byte == '"';
                ++m_decided;
                continue;
            }
            if (byte != '\\') {
                ++m_decided;
                continue;
            }
            if (!m_isAtEnd && i + 12 > m_window.size())
                return;
            const std::optional<char16_t> unit = jsonlone::escapedUnit(m_window, i);
            const std::optional<char16_t> next = jsonlone::escapedUnit(m_window, i + 6);
            if (unit && utf16::isHighSurrogate(*unit) && next && utf16::isLowSurrogate(*next)) {
                m_decided = i + 12;
            } else if (unit && utf16::isSurrogate(*unit)) {
                m_window.replace(i + 2, 4, "fffd");
                m_decided = i + 6;
            } else {
                m_decided = std::min(i + (unit ? 6 : 2), m_window.size());
            }
        }
    }

    LineSource& m_line;
    std::string m_window;
    std::string m_block;
    std::size_t m_next = 0;     // the next byte get() gives
    std::size_t m_decided = 0;  // bytes before it are masked as they will stay
    bool m_isInString = false;
    bool m_isAtEnd = false;
};

// Whether the number whose digits were read rounds to infinity as a double. The first digits
// and whether any later one is not 0 decide the rounding, so the line is never held.
class NumberValue
{
public:
    void mantissaDigit(char digit, bool isFraction)
    {
        m_fractionDigits += isFraction ? 1 : 0;
        if (m_kept.empty() && digit == '0')
            return;  // a leading zero
        ++m_significant;
        if (m_kept.size() < KeptDigits)
            m_kept.push_back(digit);
        else
            m_isNonZeroDropped = m_isNonZeroDropped || digit != '0';
    }

    void exponentDigit(char digit)
    {
        m_exponent = std::min(m_exponent * 10 + (digit - '0'), LongerThanAnyLine);
    }

    void exponentSign(char sign) { m_isExponentNegative = sign == '-'; }

    bool isInfinite() const
    {
        if (m_kept.empty())
            return false;
        long long exponent = (m_isExponentNegative ? -m_exponent : m_exponent)
                             - static_cast<long long>(m_fractionDigits)
                             + static_cast<long long>(m_significant - m_kept.size())
                             - (m_isNonZeroDropped ? 1 : 0);
        exponent = std::clamp(exponent, -Huge, Huge);
        // digits and an exponent only: no decimal point for the locale to read
        const std::string text = m_kept + (m_isNonZeroDropped ? "1" : "") + 'e'
                                 + std::to_string(exponent);
        return std::isinf(std::strtod(text.c_str(), nullptr));
    }

private:
    static constexpr std::size_t KeptDigits = 800;  // more than a double's rounding reads
    static constexpr long long Huge = 1'000'000;  // far past a double's range either way
    static constexpr long long LongerThanAnyLine = 1'000'000'000'000'000;

    std::string m_kept;
    std::size_t m_significant = 0;
    std::size_t m_fractionDigits = 0;
    long long m_exponent = 0;
    bool m_isExponentNegative = false;
    bool m_isNonZeroDropped = false;
};

enum class Token
{
    Uninitialized,
    True,
    False,
    Null,
    String,
    Number,
    BeginArray,
    BeginObject,
    EndArray,
    EndObject,
    NameSeparator,
    ValueSeparator,
    ParseError,
    EndOfInput,
    LiteralOrValue,
};

const char* tokenName(Token token)
{
    switch (token) {
    case Token::Uninitialized:
        return "<uninitialized>";
    case Token::True:
        return "true literal";
    case Token::False:
        return "false literal";
    case Token::Null:
        return "null literal";
    case Token::String:
        return "string literal";
    case Token::Number:
        return "number literal";
    case Token::BeginArray:
        return "'['";
    case Token::BeginObject:
        return "'{'";
    case Token::EndArray:
        return "']'";
    case Token::EndObject:
        return "'}'";
    case Token::NameSeparator:
        return "':'";
    case Token::ValueSeparator:
        return "','";
    case Token::ParseError:
        return "<parse error>";
    case Token::EndOfInput:
        return "end of input";
    case Token::LiteralOrValue:
        break;
    }
    return "'[', '{', or a literal";
}

// The names the JSON parser gives the control characters.
constexpr std::array<const char*, 32> ControlNames = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS", "HT", "LF", "VT", "FF", "CR",
    "SO", "SI", "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB", "CAN", "EM", "SUB", "ESC",
    "FS", "GS", "RS", "US"};

// The short escapes the parser also names, for the control characters that have one.
constexpr std::array<std::string_view, 32> ShortEscapes = {
    "", "", "", "", "", "", "", "", " or \\b", " or \\t", " or \\n", "", " or \\f",
    " or \\r"};

Refusal told(std::string text)
{
    return {std::move(text), Refusal::Stretch::None, 0, 0, ""};
}

std::string hex4(unsigned value)
{
    char digits[9];  // room for any unsigned, though a code unit takes four
    std::snprintf(digits, sizeof digits, "%.4X", value);
    return digits;
}

// The JSON parser of parseRequest and its reader of requests, step for step, over a line read
// in parts: the same tokens, the same columns (bytes read, the end of the line counting as
// one), the same bytes quoted as last read (those since the last string or number began), the
// same problem told. Only what a problem can quote is kept: where a token begins, and the first
// units of a key, enough to tell a known key.
class RefusalFinder
{
public:
    explicit RefusalFinder(LineSource& line) : m_bytes(line, 0) {}

    std::optional<Refusal> find()
    {
        m_last = scan();
        if (parse() && scanNext() != Token::EndOfInput)
            syntaxError(Token::EndOfInput, "value");
        return m_syntaxError ? m_syntaxError : m_problem;
    }

private:
    int get()
    {
        ++m_column;
        if (m_isUnget)
            m_isUnget = false;
        else
            m_current = m_bytes.get();
        if (m_current != Eof)
            ++m_readEnd;
        return m_current;
    }

    void unget()
    {
        m_isUnget = true;
        --m_column;
        if (m_current != Eof)
            --m_readEnd;
    }

    // a string or a number begins at the byte just read
    void startToken()
    {
        m_tokenStart = m_readEnd - 1;
        m_unitCount = 0;
    }

    void unit(char16_t value)
    {
        if (m_unitCount < m_units.size())
            m_units[m_unitCount] = value;
        m_unitCount = std::min(m_unitCount + 1, m_units.size());
    }

    Token error(const char* message)
    {
        m_error = message;
        return Token::ParseError;
    }

    Token scan()
    {
        if (m_column == 0 && !skipByteOrderMark())
            return error("invalid BOM; must be 0xEF 0xBB 0xBF if given");
        do {
            get();
        } while (m_current == ' ' || m_current == '\t' || m_current == '\n' || m_current == '\r');
        switch (m_current) {
        case '[':
            return Token::BeginArray;
        case ']':
            return Token::EndArray;
        case '{':
            return Token::BeginObject;
        case '}':
            return Token::EndObject;
        case ':':
            return Token::NameSeparator;
        case ',':
            return Token::ValueSeparator;
        case 't':
            return literal("true", Token::True);
        case 'f':
            return literal("false", Token::False);
        case 'n':
            return literal("null", Token::Null);
        case '"':
            return string();
        case '\0':
        case Eof:
            return Token::EndOfInput;
        default:
            if (m_current == '-' || (m_current >= '0' && m_current <= '9'))
                return number();
            return error("invalid literal");
        }
    }

    bool skipByteOrderMark()
    {
        if (get() == 0xEF)
            return get() == 0xBB && get() == 0xBF;
        unget();
        return true;
    }

    Token literal(std::string_view text, Token token)
    {
        for (std::size_t i = 1; i < text.size(); ++i) {
            if (get() != static_cast<unsigned char>(text[i]))
                return error("invalid literal");
        }
        return token;
    }

    Token string()
    {
        startToken();
        for (;;) {
            const int byte = get();
            if (byte == Eof)
                return error("invalid string: missing closing quote");
            if (byte == '"')
                return Token::String;
            if (byte == '\\') {
                if (const std::optional<Token> failed = escape())
                    return *failed;
            } else if (byte < 0x20) {
                m_controlMessage = "invalid string: control character U+" + hex4(byte) + " ("
                                   + ControlNames[byte] + ") must be escaped to \\u"
                                   + hex4(byte);
                m_controlMessage += ShortEscapes[byte];
                return error(m_controlMessage.c_str());
            } else if (byte < 0x80) {
                unit(static_cast<char16_t>(byte));
            } else if (!sequence(byte)) {
                return error("invalid string: ill-formed UTF-8 byte");
            }
        }
    }

    std::optional<Token> escape()
    {
        constexpr std::string_view Short = "\"\\/bfnrt";
        constexpr std::u16string_view Units = u"\"\\/\b\f\n\r\t";
        const int byte = get();
        if (byte != 'u') {
            const std::size_t k = byte == Eof ? Short.npos : Short.find(static_cast<char>(byte));
            if (k == Short.npos)
                return error("invalid string: forbidden character after backslash");
            unit(Units[k]);
            return std::nullopt;
        }
        constexpr const char* NotHex = "invalid string: '\\u' must be followed by 4 hex digits";
        const int first = codePoint();
        if (first < 0)
            return error(NotHex);
        if (utf16::isLowSurrogate(static_cast<char16_t>(first)))
            return error("invalid string: surrogate U+DC00..U+DFFF must follow U+D800..U+DBFF");
        if (!utf16::isHighSurrogate(static_cast<char16_t>(first))) {
            unit(static_cast<char16_t>(first));
            return std::nullopt;
        }
        constexpr const char* NoLow =
            "invalid string: surrogate U+D800..U+DBFF must be followed by U+DC00..U+DFFF";
        if (get() != '\\' || get() != 'u')
            return error(NoLow);
        const int second = codePoint();
        if (second < 0)
            return error(NotHex);
        if (!utf16::isLowSurrogate(static_cast<char16_t>(second)))
            return error(NoLow);
        unit(static_cast<char16_t>(first));
        unit(static_cast<char16_t>(second));
        return std::nullopt;
    }

    // The four hex digits after \u; -1 at the first byte that is none.
    int codePoint()
    {
        int value = 0;
        for (int k = 0; k < 4; ++k) {
            const int byte = get();
            const int digit = byte >= '0' && byte <= '9'   ? byte - '0'
                              : byte >= 'A' && byte <= 'F' ? byte - 'A' + 10
                              : byte >= 'a' && byte <= 'f' ? byte - 'a' + 10
                                                           : -1;
            if (digit < 0)
                return -1;
            value = value * 16 + digit;
        }
        return value;
    }

    // The rest of a UTF-8 sequence after its first byte, as strict as the parser.
    bool sequence(int lead)
    {
        std::array<std::pair<int, int>, 3> ranges{};
        std::size_t count = 0;
        if (lead >= 0xC2 && lead <= 0xDF)
            ranges[count++] = {0x80, 0xBF};
        else if (lead >= 0xE0 && lead <= 0xEF)
            ranges[count++] = {lead == 0xE0 ? 0xA0 : 0x80, lead == 0xED ? 0x9F : 0xBF};
        else if (lead >= 0xF0 && lead <= 0xF4)
            ranges[count++] = {lead == 0xF0 ? 0x90 : 0x80, lead == 0xF4 ? 0x8F : 0xBF};
        else
            return false;
        while (count < (lead >= 0xF0 ? 3u : lead >= 0xE0 ? 2u : 1u))
            ranges[count++] = {0x80, 0xBF};
        for (std::size_t k = 0; k < count; ++k) {
            const int byte = get();
            if (byte < ranges[k].first || byte > ranges[k].second)
                return false;
        }
        unit(0xFFFF);  // no known key holds it
        return true;
    }

    Token number()
    {
        startToken();
        m_number = NumberValue();
        const auto isDigit = [](int byte) { return byte >= '0' && byte <= '9'; };
        int byte = m_current;
        if (byte == '-') {
            byte = get();
            if (!isDigit(byte))
                return error("invalid number; expected digit after '-'");
        }
        m_number.mantissaDigit(static_cast<char>(byte), false);
        if (byte != '0') {
            while (isDigit(byte = get()))
                m_number.mantissaDigit(static_cast<char>(byte), false);
        } else {
            byte = get();
        }
        if (byte == '.') {
            if (!isDigit(byte = get()))
                return error("invalid number; expected digit after '.'");
            do {
                m_number.mantissaDigit(static_cast<char>(byte), true);
            } while (isDigit(byte = get()));
        }
        if (byte == 'e' || byte == 'E') {
            byte = get();
            if (byte == '+' || byte == '-') {
                m_number.exponentSign(static_cast<char>(byte));
                if (!isDigit(byte = get()))
                    return error("invalid number; expected digit after exponent sign");
            } else if (!isDigit(byte)) {
                return error("invalid number; expected '+', '-', or digit after exponent");
            }
            do {
                m_number.exponentDigit(static_cast<char>(byte));
            } while (isDigit(byte = get()));
        }
        unget();
        return Token::Number;
    }

    Token scanNext() { return m_last = scan(); }

    // False when the parse stopped at a problem.
    bool parse()
    {
        std::vector<bool> isArray;  // of each open container; as deep as the limit at most
        bool isClosed = false;
        for (;;) {
            if (!isClosed) {
                switch (m_last) {
                case Token::BeginObject:
                    if (!open(false))
                        return false;
                    if (scanNext() == Token::EndObject) {
                        close();
                        break;
                    }
                    if (!member())
                        return false;
                    isArray.push_back(false);
                    scanNext();
                    continue;
                case Token::BeginArray:
                    if (!open(true))
                        return false;
                    if (scanNext() == Token::EndArray) {
                        close();
                        break;
                    }
                    isArray.push_back(true);
                    continue;
                case Token::Number:
                    if (m_number.isInfinite()) {
                        m_syntaxError = Refusal{
                            "not JSON: [json.exception.out_of_range.406] number overflow parsing '",
                            Refusal::Stretch::Token, m_tokenStart, m_readEnd, "'"};
                        return false;
                    }
                    scalar();
                    break;
                case Token::True:
                case Token::False:
                case Token::Null:
                    scalar();
                    break;
                case Token::String:
                    if (m_depth == 0)
                        report(told(utf8::encode(NotAnObjectText)));
                    break;
                case Token::ParseError:
                    return syntaxError(Token::Uninitialized, "value");
                default:
                    return syntaxError(Token::LiteralOrValue, "value");
                }
            }
            isClosed = false;
            if (isArray.empty())
                return true;
            const bool isInArray = isArray.back();
            const Token closing = isInArray ? Token::EndArray : Token::EndObject;
            if (scanNext() == Token::ValueSeparator) {
                if (!isInArray) {
                    scanNext();
                    if (!member())
                        return false;
                }
                scanNext();
                continue;
            }
            if (m_last != closing)
                return syntaxError(closing, isInArray ? "array" : "object");
            close();
            isArray.pop_back();
            isClosed = true;
        }
    }

    // A key, the last token read, and its separator.
    bool member()
    {
        if (m_last != Token::String)
            return syntaxError(Token::String, "object key");
        key();
        if (scanNext() != Token::NameSeparator)
            return syntaxError(Token::NameSeparator, "object separator");
        return true;
    }

    bool syntaxError(Token expected, const std::string& context)
    {
        Refusal refusal;
        refusal.head = "not JSON: column " + std::to_string(m_column)
                       + ": syntax error while parsing " + context + " - ";
        if (m_last == Token::ParseError) {
            refusal.head += std::string(m_error) + "; last read: '";
            refusal.stretch = Refusal::Stretch::Token;
            refusal.begin = m_tokenStart;
            refusal.end = m_readEnd;
            refusal.tail.push_back('\'');  // GCC 12 sees an overlap in assigning "'"
        } else {
            refusal.head += "unexpected ";
            refusal.head += tokenName(m_last);
        }
        if (expected != Token::Uninitialized) {
            std::string& end =
                refusal.stretch == Refusal::Stretch::None ? refusal.head : refusal.tail;
            end += "; expected ";
            end += tokenName(expected);
        }
        m_syntaxError = std::move(refusal);
        return false;
    }

    bool open(bool isArray)
    {
        if (m_depth == 0 && isArray)
            report(told(utf8::encode(NotAnObjectText)));
        else if (m_depth == 1)
            notAString();
        if (++m_depth > MaxRequestNesting) {
            m_syntaxError = told(std::string("not JSON: ").append(utf8::encode(TooDeepText)));
            return false;
        }
        return true;
    }

    void close() { --m_depth; }

    void scalar()
    {
        if (m_depth == 0)
            report(told(utf8::encode(NotAnObjectText)));
        else if (m_depth == 1)
            notAString();
    }

    void key()
    {
        if (m_depth != 1)
            return;
        const std::u16string_view name(m_units.data(), m_unitCount);
        m_knownKey = name == u"main" ? "main"
                     : name == u"x"  ? "x"
                     : name == u"y"  ? "y"
                     : name == u"z"  ? "z"
                                     : nullptr;
        if (m_knownKey == nullptr)
            report({"unknown key \"", Refusal::Stretch::Key, m_tokenStart + 1, m_readEnd - 1,
                    "\""});
    }

    void notAString()
    {
        if (m_knownKey != nullptr)
            report(told('"' + std::string(m_knownKey) + utf8::encode(NotAStringText)));
    }

    void report(Refusal problem)
    {
        if (!m_problem)
            m_problem = std::move(problem);
    }

    MaskedBytes m_bytes;
    int m_current = Eof;
    bool m_isUnget = false;
    std::size_t m_column = 0;      // bytes read, the end of the line counting as one
    std::size_t m_readEnd = 0;     // 0-based, after the last byte read
    std::size_t m_tokenStart = 0;  // of the last string or number, or 0
    const char* m_error = "";
    std::string m_controlMessage;
    std::array<char16_t, 5> m_units{};  // the first units of the last string
    std::size_t m_unitCount = 0;
    NumberValue m_number;
    Token m_last = Token::Uninitialized;

    std::size_t m_depth = 0;
    const char* m_knownKey = nullptr;  // of the current member; null for an unknown one
    std::optional<Refusal> m_problem;
    std::optional<Refusal> m_syntaxError;  // outranks the problem
};

// {"error":"…"} written in parts: bytes decoded as utf8::decode does, units escaped as
// appendJsonString does, neither ever cut inside what it reads as one.
class ErrorLine
{
public:
    explicit ErrorLine(std::streambuf& out) : m_out(out) { m_json = "{\"error\":\""; }

    void addBytes(std::string_view bytes)
    {
        m_bytes += bytes;
        if (m_bytes.size() >= BlockBytes)
            decode(false);
    }

    void addUnit(char16_t unit)
    {
        decode(true);
        m_units.push_back(unit);
        if (m_units.size() >= BlockBytes)
            escape(false);
    }

    bool finish()
    {
        decode(true);
        escape(true);
        m_json += "\"}\n";
        return flush();
    }

private:
    void decode(bool isAll)
    {
        if (m_bytes.empty())
            return;
        std::size_t cut = m_bytes.size();
        // a sequence that the bytes so far end in the middle of waits for the rest
        for (std::size_t i = m_bytes.size() - std::min<std::size_t>(m_bytes.size(), 3);
             !isAll && i < m_bytes.size(); ++i) {
            const auto lead = static_cast<unsigned char>(m_bytes[i]);
            const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
            if (lead <= 0xF4 && i + length > m_bytes.size()) {
                cut = i;
                break;
            }
        }
        m_units += utf8::decode(std::string_view(m_bytes).substr(0, cut));
        m_bytes.erase(0, cut);
        escape(false);
    }

    void escape(bool isAll)
    {
        // a high surrogate at the end may pair with the next unit
        const std::size_t cut =
            !isAll && !m_units.empty() && utf16::isHighSurrogate(m_units.back())
                ? m_units.size() - 1
                : m_units.size();
        appendJsonStringContent(m_json, std::u16string_view(m_units).substr(0, cut));
        m_units.erase(0, cut);
        if (m_json.size() >= BlockBytes && !flush())
            m_isBroken = true;
    }

    bool flush()
    {
        const auto size = static_cast<std::streamsize>(m_json.size());
        m_isBroken = m_isBroken || m_out.sputn(m_json.data(), size) != size;
        m_json.clear();
        return !m_isBroken;
    }

    std::streambuf& m_out;
    std::string m_bytes;
    std::u16string m_units;
    std::string m_json;
    bool m_isBroken = false;
};

void writeToken(const Refusal& refusal, LineSource& line, ErrorLine& error)
{
    MaskedBytes bytes(line, refusal.begin);
    std::string part;
    for (std::size_t at = refusal.begin; at < refusal.end; ++at) {
        const int byte = bytes.get();
        if (byte == Eof)
            break;
        if (byte < 0x20)
            part += "<U+" + hex4(static_cast<unsigned>(byte)) + '>';
        else
            part.push_back(static_cast<char>(byte));
        if (part.size() >= BlockBytes)
            error.addBytes(std::exchange(part, {}));
    }
    error.addBytes(part);
}

// The key's bytes, between its quotes, as the reader decodes them: each escape the unit it
// names, a lone surrogate included. The key was read whole once, so it is well-formed.
void writeKey(const Refusal& refusal, LineSource& line, ErrorLine& error)
{
    line.seek(refusal.begin);
    std::string block;
    std::size_t at = 0;
    std::size_t left = refusal.end - refusal.begin;
    const auto get = [&]() -> int {
        if (at == block.size()) {
            line.read(block, std::min(left, BlockBytes));
            at = 0;
            left -= block.size();
            if (block.empty())
                return Eof;
        }
        return static_cast<unsigned char>(block[at++]);
    };
    std::string plain;
    for (int byte = get(); byte != Eof; byte = get()) {
        if (byte != '\\') {
            plain.push_back(static_cast<char>(byte));
            if (plain.size() >= BlockBytes)
                error.addBytes(std::exchange(plain, {}));
            continue;
        }
        error.addBytes(std::exchange(plain, {}));
        const int kind = get();
        if (kind != 'u') {
            constexpr std::string_view Short = "\"\\/bfnrt";
            constexpr std::u16string_view Units = u"\"\\/\b\f\n\r\t";
            const std::size_t k = Short.find(static_cast<char>(kind));
            if (k != Short.npos)
                error.addUnit(Units[k]);
            continue;
        }
        char digits[4] = {};
        for (char& digit : digits)
            digit = static_cast<char>(get());
        error.addUnit(static_cast<char16_t>(std::strtoul(std::string(digits, 4).c_str(),
                                                         nullptr, 16)));
    }
    error.addBytes(plain);
}

}  // namespace

std::optional<Refusal> findRefusal(LineSource& line)
{
    return RefusalFinder(line).find();
}

bool writeRefusal(const Refusal& refusal, LineSource& line, std::streambuf& out)
{
    ErrorLine error(out);
    error.addBytes(refusal.head);
    if (refusal.stretch == Refusal::Stretch::Token)
        writeToken(refusal, line, error);
    else if (refusal.stretch == Refusal::Stretch::Key)
        writeKey(refusal, line, error);
    error.addBytes(refusal.tail);
    return error.finish();
}
