#include "l10n/message_format.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageFormat, FillsPlaceholdersInOrderOrByNumber)
{
    const struct
    {
        std::u16string_view pattern;
        std::u16string_view expected;
    } rows[] = {
        {u"Problem at characters %s to %s.", u"Problem at characters 3 to 5."},
        {u"%2$s bis %1$s", u"5 bis 3"},
        {u"100%% of %s", u"100% of 3"},
        {u"%s %s %s", u"3 5 %s"},      // no third argument: stays as written
        {u"%d and %", u"%d and %"},    // not a string placeholder
        {u"%3$s", u"%3$s"},
        {u"", u""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(formatMessage(row.pattern, {u"3", u"5"}), row.expected);
}

}  // namespace
