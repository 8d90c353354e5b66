#pragma once

#include "text/utf16.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A \u escape of a surrogate without its partner: UTF-8 cannot carry it, so a JSON parser
// refuses it, yet it is formula text like any other. The readers of requests and of the kept
// history mask such escapes before parsing and put the units back into the strings after.
namespace jsonlone {

struct LoneSurrogate
{
    std::size_t string;  // which string of the line, keys included, from 0
    std::size_t offset;  // 0-based, in UTF-16 units of the decoded string
    char16_t unit;
};

// The unit of the \uXXXX escape at `i`; none when no such escape starts there.
inline std::optional<char16_t> escapedUnit(std::string_view line, std::size_t i)
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

// Writes U+FFFD over each lone-surrogate escape and says where each was; the line keeps its
// length, so the parser's columns stay right. The places are exact for every line the parser
// accepts.
inline std::vector<LoneSurrogate> maskLoneSurrogates(std::string& line)
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

}  // namespace jsonlone
