#include "cli/problem_marker.h"

#include "text/utf16.h"

#include <algorithm>
#include <utility>

namespace {

// A line longer than this is shown as an excerpt around its problem.
constexpr std::size_t WholeLineLimit = 120;
constexpr std::size_t ContextBefore = 40;
constexpr std::size_t ShownAfterStart = 80;
constexpr std::u16string_view Ellipsis = u"...";

// Characters that would act on the terminal, or show as nothing, are shown as U+FFFD: the
// line is the user's text told back, not text to be obeyed.
bool isShownAsReplacement(char32_t c)
{
    return c < 0x20 ? c != u'\t'
                    : (c >= 0x7F && c <= 0x9F) || (c >= 0x200B && c <= 0x200F)
                          || (c >= 0x2028 && c <= 0x202E) || (c >= 0x2060 && c <= 0x206F)
                          || c == 0xFEFF || utf16::isSurrogate(static_cast<char16_t>(c));
}

// Terminal columns of a code point: combining marks take none, the wide characters of East
// Asian scripts two.
int columns(char32_t c)
{
    if ((c >= 0x0300 && c <= 0x036F) || (c >= 0xFE00 && c <= 0xFE0F))
        return 0;
    const bool isWide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF)
        || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
        || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF)
        || (c >= 0x20000 && c <= 0x3FFFD);
    return isWide ? 2 : 1;
}

// Whether a line ends at `i`: LF, CR LF (at its LF) or a lone CR.
bool endsLine(std::u16string_view text, std::size_t i)
{
    return text[i] == u'\n' || (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'));
}

// Moves `i` off the second unit of a surrogate pair.
std::size_t pairStart(std::u16string_view text, std::size_t i)
{
    return i > 0 && i < text.size() && utf16::startsPair(text, i - 1) ? i - 1 : i;
}

// Shows [from, to) of `line`, and for each column of it one `fill` in the marker (a tab for a
// tab); `first`, when given, marks the first column instead.
void show(ProblemLines& lines, std::u16string_view line, std::size_t from, std::size_t to,
          char16_t fill, char16_t first = 0)
{
    for (std::size_t i = from; i < to; ++i) {
        char32_t c = line[i];
        if (utf16::startsPair(line, i)) {
            c = utf16::pairValue(line, i);
            lines.text += line.substr(i++, 2);
        } else if (isShownAsReplacement(c)) {
            c = 0xFFFD;
            lines.text += u'\uFFFD';
        } else {
            lines.text += line[i];
        }
        const int width = c == u'\t' ? 1 : columns(c);
        for (int k = 0; k < width; ++k)
            lines.marker += std::exchange(first, 0) != 0 ? u'^' : (c == u'\t' ? u'\t' : fill);
    }
    if (first != 0)  // the problem took no column, yet its mark must show
        lines.marker += u'^';
}

}  // namespace

ProblemLines problemLines(std::u16string_view typed, const Problem& problem)
{
    const std::size_t start = std::min(problem.start, typed.size());
    std::size_t lineStart = 0;
    std::size_t lineNumber = 1;
    for (std::size_t i = 0; i < start; ++i) {
        if (endsLine(typed, i)) {
            lineStart = i + 1;
            ++lineNumber;
        }
    }
    std::size_t lineEnd = start;
    while (lineEnd < typed.size() && typed[lineEnd] != u'\n' && typed[lineEnd] != u'\r')
        ++lineEnd;
    const std::u16string_view line = typed.substr(lineStart, lineEnd - lineStart);
    const std::size_t from = start - lineStart;
    const std::size_t to = std::min(from + problem.length, line.size());

    std::size_t first = 0;
    std::size_t last = line.size();
    if (line.size() > WholeLineLimit) {
        first = pairStart(line, from > ContextBefore ? from - ContextBefore : 0);
        last = pairStart(line, std::min(line.size(), from + ShownAfterStart));
    }

    ProblemLines lines{{}, {}, lineNumber};
    if (first > 0) {
        lines.text += Ellipsis;
        lines.marker.append(Ellipsis.size(), u' ');
    }
    show(lines, line, first, from, u' ');
    if (to > from) {
        show(lines, line, from, std::min(to, last), u'~', u'^');
    } else {
        lines.marker += u'^';
    }
    show(lines, line, std::min(to, last), last, u' ');
    while (!lines.marker.empty() && (lines.marker.back() == u' ' || lines.marker.back() == u'\t'))
        lines.marker.pop_back();
    if (last < line.size())
        lines.text += Ellipsis;
    return lines;
}

std::size_t terminalColumns(std::u16string_view text)
{
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = utf16::startsPair(text, i) ? utf16::pairValue(text, i++) : text[i];
        width += static_cast<std::size_t>(columns(c));
    }
    return width;
}
