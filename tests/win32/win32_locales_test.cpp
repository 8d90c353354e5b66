#include "win32/win32_locales.h"

#include "support/named_locale_rows.h"

#include <gtest/gtest.h>

#include <string>

TEST(Win32Locales, KnowsLocalesByPosixAndBcp47Names)
{
    const Win32Locales locales;
    for (const NamedLocaleRow& row : NamedLocaleRows) {
        SCOPED_TRACE(std::string(row.name.begin(), row.name.end()));
        EXPECT_EQ(locales.decimalPoint(row.name), row.decimalPoint);
    }
}
