#include "history/history_entry.h"

#include "eval/json_text.h"
#include "text/json_lone_surrogates.h"
#include "text/trim_spaces.h"
#include "text/utf16.h"
#include "text/utf8.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace {

using Json = nlohmann::json;

constexpr std::int64_t SecondsPerDay = 86400;
constexpr std::array<int, 12> DaysBeforeMonth = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273,
                                                 304, 334};

constexpr bool isLeapYear(std::int64_t year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// Days from 0000-01-01 to January 1st of `year` (0 and up), proleptic Gregorian.
constexpr std::int64_t daysBeforeYear(std::int64_t year)
{
    return 365 * year + (year + 3) / 4 - (year + 99) / 100 + (year + 399) / 400;
}

constexpr std::int64_t EpochDay = daysBeforeYear(1970);
constexpr std::int64_t EarliestTime = -EpochDay * SecondsPerDay;  // 0000-01-01T00:00:00Z
constexpr std::int64_t LatestTime = (daysBeforeYear(10000) - EpochDay) * SecondsPerDay - 1;

int daysInMonth(std::int64_t year, int month)  // month 1-based
{
    if (month == 2)
        return isLeapYear(year) ? 29 : 28;
    return month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31;
}

std::int64_t dayOfYearStart(std::int64_t year, int month)  // month 1-based; 0 for January
{
    return DaysBeforeMonth[month - 1] + (month > 2 && isLeapYear(year) ? 1 : 0);
}

void appendDigits(std::string& out, std::int64_t value, int width)
{
    std::string digits(width, '0');
    for (int i = width - 1; i >= 0; --i, value /= 10)
        digits[i] = static_cast<char>('0' + value % 10);
    out += digits;
}

// Fixed-width digits at `text[at]`; -1 for anything else.
std::int64_t readDigits(std::u16string_view text, std::size_t at, std::size_t width)
{
    std::int64_t value = 0;
    for (std::size_t i = at; i < at + width; ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return -1;
        value = value * 10 + (text[i] - u'0');
    }
    return value;
}

std::optional<std::int64_t> parseTime(std::u16string_view text)
{
    // YYYY-MM-DDTHH:MM:SSZ
    constexpr std::u16string_view Shape = u"0000-00-00T00:00:00Z";
    if (text.size() != Shape.size())
        return std::nullopt;
    for (std::size_t i = 0; i < Shape.size(); ++i) {
        if (Shape[i] != u'0' && text[i] != Shape[i])
            return std::nullopt;
    }
    const std::int64_t year = readDigits(text, 0, 4);
    const std::int64_t month = readDigits(text, 5, 2);
    const std::int64_t day = readDigits(text, 8, 2);
    const std::int64_t hour = readDigits(text, 11, 2);
    const std::int64_t minute = readDigits(text, 14, 2);
    const std::int64_t second = readDigits(text, 17, 2);
    if (year < 0 || month < 1 || month > 12 || day < 1
        || day > daysInMonth(year, static_cast<int>(month)) || hour < 0 || hour > 23
        || minute < 0 || minute > 59 || second < 0 || second > 59) {
        return std::nullopt;
    }
    const std::int64_t days = daysBeforeYear(year) + dayOfYearStart(year, static_cast<int>(month))
        + day - 1 - EpochDay;
    return days * SecondsPerDay + hour * 3600 + minute * 60 + second;
}

// What the reader keeps of a line: only the shapes an entry can have.
struct Node
{
    enum class Kind { Null, String, Number, Object };
    Kind kind = Kind::Null;
    std::u16string text;
    std::uint64_t number = 0;
    std::vector<std::u16string> keys;  // an object's members: keys[i] names values[i]
    std::vector<Node> values;

    const Node* member(std::u16string_view key) const
    {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] == key)
                return &values[i];
        }
        return nullptr;
    }

    // An object with exactly these keys (the reader refuses repeated keys).
    bool isObjectOf(std::initializer_list<std::u16string_view> names) const
    {
        return kind == Kind::Object && keys.size() == names.size()
            && std::all_of(names.begin(), names.end(),
                           [this](std::u16string_view key) { return member(key) != nullptr; });
    }
};

using LoneUnit = jsonlone::LoneSurrogate;

// Builds the Node tree, refusing at once whatever no entry holds: arrays, booleans, negative or
// fractional numbers, repeated keys, more than three levels.
class EntryReader final : public nlohmann::json_sax<Json>
{
public:
    explicit EntryReader(std::vector<LoneUnit> lone) : m_lone(std::move(lone)) {}

    Node root;

    bool null() override { return place(Node{}); }
    bool boolean(bool) override { return false; }
    bool number_integer(number_integer_t value) override
    {
        return value >= 0 && number_unsigned(static_cast<number_unsigned_t>(value));
    }
    bool number_unsigned(number_unsigned_t value) override
    {
        Node node;
        node.kind = Node::Kind::Number;
        node.number = value;
        return place(std::move(node));
    }
    bool number_float(number_float_t, const string_t&) override { return false; }
    bool binary(binary_t&) override { return false; }
    bool start_array(std::size_t) override { return false; }
    bool end_array() override { return false; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override
    {
        return false;
    }

    bool string(string_t& value) override
    {
        Node node;
        node.kind = Node::Kind::String;
        node.text = decoded(value);
        return place(std::move(node));
    }

    bool key(string_t& value) override
    {
        std::u16string name = decoded(value);
        if (m_open.back()->member(name) != nullptr)
            return false;
        m_key = std::move(name);
        return true;
    }

    bool start_object(std::size_t) override
    {
        if (m_open.size() == 3)
            return false;
        Node node;
        node.kind = Node::Kind::Object;
        if (!place(std::move(node)))
            return false;
        m_open.push_back(m_open.empty() ? &root : &m_open.back()->values.back());
        return true;
    }

    bool end_object() override
    {
        m_open.pop_back();
        return true;
    }

private:
    std::u16string decoded(const string_t& value)
    {
        std::u16string text = utf8::decode(value);
        for (; m_nextLone < m_lone.size() && m_lone[m_nextLone].string == m_strings; ++m_nextLone) {
            if (m_lone[m_nextLone].offset < text.size())
                text[m_lone[m_nextLone].offset] = m_lone[m_nextLone].unit;
        }
        ++m_strings;
        return text;
    }

    // Only objects hold values; the top level is the one object.
    bool place(Node node)
    {
        if (m_open.empty()) {
            if (node.kind != Node::Kind::Object || m_hasRoot)
                return false;
            m_hasRoot = true;
            root = std::move(node);
            return true;
        }
        m_open.back()->keys.push_back(std::move(m_key));
        m_open.back()->values.push_back(std::move(node));
        return true;
    }

    std::vector<LoneUnit> m_lone;
    std::size_t m_nextLone = 0;
    std::size_t m_strings = 0;
    std::vector<Node*> m_open;  // the objects being read, outermost first
    std::u16string m_key;
    bool m_hasRoot = false;
};

bool readText(const Node* node, std::u16string& target)
{
    if (node == nullptr || node->kind != Node::Kind::String)
        return false;
    target = node->text;
    return true;
}

bool readBox(const Node* node, std::optional<std::u16string>& target)
{
    if (node != nullptr && node->kind == Node::Kind::Null) {
        target.reset();
        return true;
    }
    return readText(node, target.emplace());
}

bool readPosition(const Node* node, std::size_t& target)
{
    if (node == nullptr || node->kind != Node::Kind::Number
        || node->number > std::numeric_limits<std::size_t>::max()) {
        return false;
    }
    target = static_cast<std::size_t>(node->number);
    return true;
}

bool readProblem(const Node* node, std::optional<Problem>& target)
{
    if (node != nullptr && node->kind == Node::Kind::Null) {
        target.reset();
        return true;
    }
    if (node == nullptr || !node->isObjectOf({u"formula", u"start", u"length"}))
        return false;
    const Node* formula = node->member(u"formula");
    if (formula->kind != Node::Kind::String)
        return false;
    Problem problem{Stage::Main, 0, 0};
    bool isKnown = false;
    for (const Stage stage : {Stage::Z, Stage::Y, Stage::X, Stage::Main}) {
        if (formula->text == formulaName(stage)) {
            problem.formula = stage;
            isKnown = true;
        }
    }
    if (!isKnown || !readPosition(node->member(u"start"), problem.start)
        || !readPosition(node->member(u"length"), problem.length)) {
        return false;
    }
    target = problem;
    return true;
}

// Reads the line exactly as historyLine writes it, ASCII only, far faster than a general
// parser: a full history is read at every start. Gives up (false) at anything else, and the
// general reader then decides; what it accepts, that reader accepts with the same units.
class CanonicalReader
{
public:
    explicit CanonicalReader(std::string_view line) : m_line(line) {}

    bool read(HistoryEntry& entry)
    {
        std::u16string time;
        const bool isRead = literal(R"({"time":)") && string(time)
            && literal(R"(,"input":{"main":)") && string(entry.input.main)
            && literal(R"(,"x":)") && string(entry.input.x) && literal(R"(,"y":)")
            && string(entry.input.y) && literal(R"(,"z":)") && string(entry.input.z)
            && literal(R"(},"output":{"main":)") && box(entry.output.main)
            && literal(R"(,"x":)") && box(entry.output.x) && literal(R"(,"y":)")
            && box(entry.output.y) && literal(R"(,"z":)") && box(entry.output.z)
            && literal(R"(,"status":)") && box(entry.output.status)
            && literal(R"(,"problem":)") && problem(entry.output.problem) && literal("}}")
            && m_at == m_line.size();
        if (!isRead)
            return false;
        const std::optional<std::int64_t> seconds = parseTime(time);
        if (!seconds)
            return false;
        entry.time = *seconds;
        return true;
    }

private:
    static bool isSpecialByte(char c)
    {
        const auto byte = static_cast<unsigned char>(c);
        return byte == '"' || byte == '\\' || byte < 0x20 || byte >= 0x80;
    }

    // Whether any of the 8 bytes at `bytes` is special, tested on all of them at once.
    static bool hasSpecialByte(const char* bytes)
    {
        constexpr std::uint64_t Ones = 0x0101010101010101;
        constexpr std::uint64_t Highs = 0x8080808080808080;
        std::uint64_t word = 0;
        std::memcpy(&word, bytes, sizeof word);
        const auto hasZeroByte = [](std::uint64_t w) { return (w - Ones) & ~w & Highs; };
        const std::uint64_t below20 = (word - 0x20 * Ones) & ~word & Highs;
        return ((word & Highs) | below20 | hasZeroByte(word ^ ('"' * Ones))
                | hasZeroByte(word ^ ('\\' * Ones)))
            != 0;
    }

    bool literal(std::string_view text)
    {
        if (m_line.substr(m_at, text.size()) != text)
            return false;
        m_at += text.size();
        return true;
    }

    bool string(std::u16string& out)
    {
        if (!literal("\""))
            return false;
        out.clear();
        for (;;) {
            std::size_t plain = m_at;
            while (plain + 8 <= m_line.size() && !hasSpecialByte(m_line.data() + plain))
                plain += 8;
            while (plain < m_line.size() && !isSpecialByte(m_line[plain]))
                ++plain;
            const std::size_t done = out.size();
            out.resize(done + (plain - m_at));
            for (std::size_t k = 0; k < plain - m_at; ++k)
                out[done + k] = static_cast<unsigned char>(m_line[m_at + k]);
            m_at = plain;
            if (m_at == m_line.size())
                return false;
            const char c = m_line[m_at++];
            if (c == '"')
                return true;
            if (c != '\\' || m_at == m_line.size())
                return false;  // a raw control character, or a byte of UTF-8
            const char escaped = m_line[m_at++];
            const std::string_view simple = "\"\\/bfnrt";
            const std::u16string_view meaning = u"\"\\/\b\f\n\r\t";
            if (const std::size_t k = simple.find(escaped); k != std::string_view::npos) {
                out += meaning[k];
            } else if (const auto unit = jsonlone::escapedUnit(m_line, m_at - 2)) {
                out += *unit;
                m_at += 4;
            } else {
                return false;
            }
        }
    }

    bool box(std::optional<std::u16string>& out)
    {
        if (literal("null")) {
            out.reset();
            return true;
        }
        return string(out.emplace());
    }

    bool number(std::size_t& out)
    {
        const std::size_t start = m_at;
        std::uint64_t value = 0;
        while (m_at < m_line.size() && m_at - start < 18 && m_line[m_at] >= '0'
               && m_line[m_at] <= '9') {
            value = value * 10 + std::uint64_t(m_line[m_at++] - '0');
        }
        const std::size_t digits = m_at - start;
        if (digits == 0 || (digits > 1 && m_line[start] == '0')
            || (m_at < m_line.size() && m_line[m_at] >= '0' && m_line[m_at] <= '9')
            || value > std::numeric_limits<std::size_t>::max()) {
            return false;
        }
        out = static_cast<std::size_t>(value);
        return true;
    }

    bool problem(std::optional<Problem>& out)
    {
        if (literal("null")) {
            out.reset();
            return true;
        }
        std::u16string formula;
        Problem read{Stage::Main, 0, 0};
        if (!literal(R"({"formula":)") || !string(formula) || !literal(R"(,"start":)")
            || !number(read.start) || !literal(R"(,"length":)") || !number(read.length)
            || !literal("}")) {
            return false;
        }
        for (const Stage stage : {Stage::Z, Stage::Y, Stage::X, Stage::Main}) {
            if (formula == formulaName(stage)) {
                read.formula = stage;
                out = read;
                return true;
            }
        }
        return false;
    }

    std::string_view m_line;
    std::size_t m_at = 0;
};

}  // namespace

std::string historyTimeText(std::int64_t time)
{
    const std::int64_t clamped = std::clamp(time, EarliestTime, LatestTime);
    const std::int64_t days = clamped / SecondsPerDay + EpochDay
        - (clamped % SecondsPerDay < 0 ? 1 : 0);
    const std::int64_t secondOfDay = clamped - (days - EpochDay) * SecondsPerDay;
    std::int64_t year = days * 400 / 146097;  // never too small by more than one
    while (daysBeforeYear(year + 1) <= days)
        ++year;
    while (daysBeforeYear(year) > days)
        --year;
    const std::int64_t dayOfYear = days - daysBeforeYear(year);
    int month = 12;
    while (dayOfYearStart(year, month) > dayOfYear)
        --month;
    std::string out;
    out.reserve(20);
    appendDigits(out, year, 4);
    out += '-';
    appendDigits(out, month, 2);
    out += '-';
    appendDigits(out, dayOfYear - dayOfYearStart(year, month) + 1, 2);
    out += 'T';
    appendDigits(out, secondOfDay / 3600, 2);
    out += ':';
    appendDigits(out, secondOfDay / 60 % 60, 2);
    out += ':';
    appendDigits(out, secondOfDay % 60, 2);
    out += 'Z';
    return out;
}

std::string historyLine(const HistoryEntry& entry)
{
    std::string out = "{\"time\":\"" + historyTimeText(entry.time) + "\",\"input\":{\"main\":";
    out += jsonString(entry.input.main);
    out += ",\"x\":";
    out += jsonString(entry.input.x);
    out += ",\"y\":";
    out += jsonString(entry.input.y);
    out += ",\"z\":";
    out += jsonString(entry.input.z);
    out += "},\"output\":";
    out += outcomeJson(entry.output);
    out += '}';
    return out;
}

std::optional<HistoryEntry> parseHistoryLine(std::string_view line)
{
    HistoryEntry canonical;
    if (CanonicalReader(line).read(canonical))
        return canonical;
    try {
        std::string masked(line);
        EntryReader reader(jsonlone::maskLoneSurrogates(masked));
        if (!Json::sax_parse(masked, &reader)
            || !reader.root.isObjectOf({u"time", u"input", u"output"})) {
            return std::nullopt;
        }
        const Node& root = reader.root;
        const Node* time = root.member(u"time");
        const Node* input = root.member(u"input");
        const Node* output = root.member(u"output");
        HistoryEntry entry;
        std::optional<std::int64_t> seconds;
        if (time->kind == Node::Kind::String)
            seconds = parseTime(time->text);
        if (!seconds || !input->isObjectOf({u"main", u"x", u"y", u"z"})
            || !output->isObjectOf({u"main", u"x", u"y", u"z", u"status", u"problem"})) {
            return std::nullopt;
        }
        entry.time = *seconds;
        const bool isEntry = readText(input->member(u"main"), entry.input.main)
            && readText(input->member(u"x"), entry.input.x)
            && readText(input->member(u"y"), entry.input.y)
            && readText(input->member(u"z"), entry.input.z)
            && readBox(output->member(u"main"), entry.output.main)
            && readBox(output->member(u"x"), entry.output.x)
            && readBox(output->member(u"y"), entry.output.y)
            && readBox(output->member(u"z"), entry.output.z)
            && readBox(output->member(u"status"), entry.output.status)
            && readProblem(output->member(u"problem"), entry.output.problem);
        if (!isEntry)
            return std::nullopt;
        return entry;
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;  // sax_parse reports through the reader; this is a second guard
    }
}

std::u16string formulaOnOneLine(std::u16string_view formula, std::size_t most)
{
    std::u16string line;
    std::size_t i = 0;
    for (; i < formula.size() && line.size() < most; ++i) {
        const char16_t c = formula[i];
        if (c == u'\r' && i + 1 < formula.size() && formula[i + 1] == u'\n')
            continue;  // one space for the pair
        line += c == u'\r' || c == u'\n' || c == u'\t' ? u' ' : c;
    }
    if (i < formula.size())
        line += u'\u2026';
    return line;
}

std::u16string mainResult(const HistoryEntry& entry)
{
    return std::u16string(spaces::trim(entry.output.main.value_or(u"")));
}
