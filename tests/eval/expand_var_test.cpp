#include "eval/expand_var.h"

#include "eval/limits.h"

#include <gtest/gtest.h>

TEST(ExpandVar, RewritesVariableLettersButNotExp)
{
    struct Row { std::u16string in, out; };
    const Row rows[] = {
        {u"", u""},
        {u"x", u"varx"},
        {u"X", u"varx"},
        {u"Y", u"vary"},
        {u"Z", u"varz"},
        {u"xy", u"varxvary"},
        {u"xyz", u"varxvaryvarz"},
        {u"x^2+y", u"varx^2+vary"},
        {u"2-z", u"2-varz"},
        {u"2x", u"2varx"},
        {u"exp(1)", u"exp(1)"},
        {u"EXP(2)", u"EXP(2)"},
        {u"eXp(2)", u"eXp(2)"},
        {u"exp(x)", u"exp(varx)"},
        {u"Exp(X)", u"Exp(varx)"},
        {u"y+exp(z)", u"vary+exp(varz)"},
        {u"2+exp", u"2+exp"},       // five units: protected
        {u"1+exp", u"1+exp"},
        {u"exp1", u"evarxp1"},      // under five units: no "exp" rule
        {u"exp", u"evarxp"},
        {u"max(x,y)", u"mavarx(varx,vary)"},
        {u"hex", u"hevarx"},        // no other name is protected
        {u"x+exp(1)", u"varx+exp(1)"},
        {u"exp(1)+x", u"exp(1)+varx"},
        {u"expx1", u"expvarx1"},
        {u"eexpp", u"eexpp"},
        {u"xxxxx", u"varxvarxvarxvarxvarx"},
        {u"exxp1", u"evarxvarxp1"},
        {u"\u00D7x\u0445", u"\u00D7varx\u0445"},  // only the Latin letters count
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.in));
        EXPECT_EQ(ExpandVar(row.in), row.out);
    }
}

TEST(ExpandVar, RefusesTextsOverTheLimit)
{
    const std::u16string longest(MaxFormulaLength, u'x');
    const std::optional<std::u16string> expanded = ExpandVar(longest);
    ASSERT_TRUE(expanded.has_value());
    EXPECT_EQ(expanded->size(), 4 * MaxFormulaLength);
    EXPECT_EQ(expanded->substr(0, 8), u"varxvarx");

    EXPECT_FALSE(ExpandVar(std::u16string(MaxFormulaLength + 1, u'1')).has_value());
    EXPECT_FALSE(ExpandVar(std::u16string(100000, u'x')).has_value());
}
