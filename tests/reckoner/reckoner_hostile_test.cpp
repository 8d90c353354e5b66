#include "reckoner/reckoner.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Row
{
    const char* name;
    std::u16string text;
    std::u16string code;
    double result;
};

std::u16string repeated(std::u16string_view piece, std::size_t times)
{
    std::u16string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

// Each row on a new instance and on one that has evaluated every row before it: the buffers
// a long formula leaves behind must not change what a later one gives.
void expectRows(const std::vector<Row>& rows)
{
    Reckoner reused;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Reckoner fresh;
        for (Reckoner* reckoner : {&fresh, &reused}) {
            reckoner->setExpression(row.text);
            reckoner->Calculate();
            EXPECT_EQ(reckoner->ErrorCode(), row.code);
            EXPECT_EQ(reckoner->Result(), row.result);
        }
    }
}

}  // namespace

TEST(ReckonerHostile, GivesACodeForAnySizeOrDepth)
{
    constexpr std::size_t Deep = 100000;
    std::u16string megabyteSum = u"1" + repeated(u"+1", 500000);  // 1,000,001 units
    expectRows({
        {"nested parentheses", repeated(u"(", Deep) + u"1" + repeated(u")", Deep), u"0", 1},
        {"nested calls", repeated(u"abs(", Deep / 4) + u"-1" + repeated(u")", Deep / 4), u"0", 1},
        {"unclosed parentheses", repeated(u"(", Deep) + u"1", u"2", 0},
        {"unopened parentheses", u"1" + repeated(u")", Deep), u"2", 0},
        {"signs", repeated(u"-", Deep) + u"1", u"0", 1},
        {"powers", u"1" + repeated(u"^1", Deep), u"0", 1},
        {"a megabyte", megabyteSum, u"0", 500001},
        {"a small one after them", u"1+2", u"0", 3},
        {"32767 x's", std::u16string(32767, u'x'), u"1", 0},
    });
}

TEST(ReckonerHostile, RefusesCharactersOutsideTheLanguage)
{
    std::vector<Row> rows = {
        {"NUL inside", std::u16string(u"1\0+2", 4), u"1", 0},
        {"NUL alone", std::u16string(1, u'\0'), u"1", 0},
        {"lone high surrogate", u"1+\xD800", u"1", 0},
        {"lone low surrogate", u"\xDC00" u"1", u"1", 0},
        {"surrogates reversed", u"1+\xDC00\xD800", u"1", 0},
        {"right-to-left mark", u"\u200F" u"1+2", u"1", 0},
        {"right-to-left override", u"1+\u202E" u"2", u"1", 0},
        {"byte order mark", u"\uFEFF" u"1", u"1", 0},
        {"no-break space", u"1+\u00A0" u"2", u"1", 0},
        {"delete", u"1\x7F+2", u"1", 0},
        {"C1 next line", u"1\x85+2", u"1", 0},
    };
    // Tab, line feed and carriage return separate tokens (the main formula may span lines);
    // every other control character is foreign.
    for (char16_t c = 0; c < 0x20; ++c) {
        const bool isSpace = c == u'\t' || c == u'\n' || c == u'\r';
        rows.push_back({"a control character", u"1" + std::u16string(1, c) + u"+2",
                        isSpace ? u"0" : u"1", isSpace ? 3.0 : 0.0});
    }
    expectRows(rows);
}
