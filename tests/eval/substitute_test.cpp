#include "eval/substitute.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::u16string substituted(std::u16string text, const std::vector<Replacement>& replacements)
{
    substitute(text, replacements);
    return text;
}

}  // namespace

TEST(Substitute, ReplacesEveryPlaceholderInAnyCase)
{
    EXPECT_EQ(substituted(u"VARZ+varz*VarZ-vary", {{u"varz", u"( 2)"}}), u"( 2)+( 2)*( 2)-vary");
    EXPECT_TRUE(containsPlaceholder(u"1+VaRy", u"vary"));
    EXPECT_FALSE(containsPlaceholder(u"1+var", u"vary"));
}

TEST(Substitute, ReplacesSeveralPlaceholdersAsOneAfterAnother)
{
    const std::u16string texts[] = {
        u"",
        u"varx^2+vary",
        u"varzvaryvarx",
        u"VarXvarzVARY*varvarx",
        u"vvarzarx+varyy",
        u"var+va+v",
        u"exp(varx)-varz/vary",
    };
    const std::vector<Replacement> all = {
        {u"varz", u"( 1)"}, {u"vary", u"(-2.5)"}, {u"varx", u"( 1E+20)"}};
    for (const std::u16string& text : texts) {
        SCOPED_TRACE(testing::PrintToString(text));
        std::u16string oneByOne = text;
        for (const Replacement& replacement : all)
            oneByOne = substituted(oneByOne, {replacement});
        EXPECT_EQ(substituted(text, all), oneByOne);
    }
}
