#include "l10n/plural_rule.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(PluralRule, EvaluatesTheRulesOfTheCatalogsLanguages)
{
    const struct
    {
        const char* expression;
        std::vector<unsigned long> formsOf0To5And11And21And25;
    } rows[] = {
        {"(n != 1)", {1, 0, 1, 1, 1, 1, 1, 1, 1}},
        {"(n > 1)", {0, 0, 1, 1, 1, 1, 1, 1, 1}},
        {"0", {0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"(n==1 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2)",
         {2, 0, 1, 1, 1, 2, 2, 2, 2}},
        {"(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2)",
         {2, 0, 1, 1, 1, 2, 2, 0, 2}},
        {"!(n - 1) * 7 + n / 2 + (n ? 0 : 3)", {3, 7, 1, 1, 2, 2, 5, 10, 12}},
        {"n % 0 + n / 0", {0, 0, 0, 0, 0, 0, 0, 0, 0}},  // a catalog's mistake ends nothing
    };
    const unsigned long ns[] = {0, 1, 2, 3, 4, 5, 11, 21, 25};
    for (const auto& row : rows) {
        const PluralRule rule(row.expression);
        for (std::size_t i = 0; i < std::size(ns); ++i)
            EXPECT_EQ(rule(ns[i]), row.formsOf0To5And11And21And25[i]) << row.expression << ", " << ns[i];
    }
}

TEST(PluralRule, RefusesWhatIsNotARule)
{
    for (const char* expression : {"", "n ==", "(n", "n)", "x", "n ? 1", "n ! 1", "99999999999999",
                                   "n >> 1", "n; 1"}) {
        EXPECT_THROW(PluralRule{expression}, std::invalid_argument) << expression;
    }
}

}  // namespace
