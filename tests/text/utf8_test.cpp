#include "text/utf8.h"

#include <gtest/gtest.h>

TEST(Utf8, DecodesEachByteOfAnIllFormedSequenceAsOneReplacement)
{
    struct Row { std::string in; std::u16string out; };
    const Row rows[] = {
        {"a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", u"a\u00E9\u20AC\U0001F600"},
        {"\xFF" "a", u"\uFFFD" "a"},
        {"\xE2\x82" "a", u"\uFFFD\uFFFD" "a"},            // cut short
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                    // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},          // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        {std::string("\0", 1), std::u16string(1, u'\0')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.in));
        EXPECT_EQ(utf8::decode(row.in), row.out);
    }
    EXPECT_EQ(utf8::encode(std::u16string(1, char16_t(0xDC00)) + u"\U0001F600"),
              "\xEF\xBF\xBD\xF0\x9F\x98\x80");
}
