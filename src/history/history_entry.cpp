#include "history/history_entry.h"

#include "eval/json_text.h"
#include "text/utf16.h"
#include "text/utf8.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
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
    std::vector<std::pair<std::u16string, Node>> members;

    const Node* member(std::u16string_view key) const
    {
        for (const auto& [name, value] : members) {
            if (name == key)
                return &value;
        }
        return nullptr;
    }

    // An object with exactly these keys (the reader refuses repeated keys).
    bool isObjectOf(std::initializer_list<std::u16string_view> keys) const
    {
        return kind == Kind::Object && members.size() == keys.size()
            && std::all_of(keys.begin(), keys.end(),
                           [this](std::u16string_view key) { return member(key) != nullptr; });
    }
};

// A \u escape of a surrogate without its partner: UTF-8 cannot carry it, so the JSON parser
// refuses it, yet it is formula text like any other.
struct LoneUnit
{
    std::size_t string;  // the string of the line it is in, keys included, from 0
    std::size_t offset;  // 0-based UTF-16 offset in that string
    char16_t unit;
};

std::optional<char16_t> escapeAt(std::string_view line, std::size_t i)
{
    if (i + 6 > line.size() || line[i] != '\\' || line[i + 1] != 'u')
        return std::nullopt;
    unsigned value = 0;
    for (std::size_t k = i + 2; k < i + 6; ++k) {
        const char c = line[k];
        unsigned digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    return static_cast<char16_t>(value);
}

// Turns each lone-surrogate escape into \ufffd in place and says where it was; the line keeps
// its length. The places are exact for every line the parser accepts.
std::vector<LoneUnit> maskLoneUnits(std::string& line)
{
    std::vector<LoneUnit> lone;
    std::size_t string = 0;
    std::size_t offset = 0;
    bool inString = false;
    for (std::size_t i = 0; i < line.size();) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte == '"') {
            if (inString)
                ++string;
            inString = !inString;
            offset = 0;
            ++i;
        } else if (!inString) {
            ++i;
        } else if (byte == '\\') {
            const std::optional<char16_t> unit = escapeAt(line, i);
            const std::optional<char16_t> next = unit ? escapeAt(line, i + 6) : std::nullopt;
            if (unit && utf16::isHighSurrogate(*unit) && next && utf16::isLowSurrogate(*next)) {
                offset += 2;
                i += 12;
            } else {
                if (unit && utf16::isSurrogate(*unit)) {
                    lone.push_back({string, offset, *unit});
                    line.replace(i + 2, 4, "fffd");
                }
                ++offset;
                i += unit ? 6 : 2;
            }
        } else {
            if (byte < 0x80 || byte >= 0xC0)  // a continuation byte adds no unit
                offset += byte >= 0xF0 ? 2 : 1;
            ++i;
        }
    }
    return lone;
}

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
        m_open.push_back(m_open.empty() ? &root : &m_open.back()->members.back().second);
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
        m_open.back()->members.emplace_back(std::move(m_key), std::move(node));
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
    try {
        std::string masked(line);
        EntryReader reader(maskLoneUnits(masked));
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
