#pragma once

#include "platform/clock.h"

// A clock in UTC whose time moves on a second at each reading, from `time`.
class FakeClock final : public Clock
{
public:
    std::int64_t time = 1'796'685'004;  // 2026-12-07 23:10:04 UTC

    std::int64_t now() override { return time++; }
    LocalTime localTime(std::int64_t at) override
    {
        const std::int64_t days = at / 86400;
        const std::int64_t seconds = at % 86400;
        // Days to a civil date, for the years this program sees.
        std::int64_t z = days + 719468;
        const std::int64_t era = z / 146097;
        const std::int64_t doe = z - era * 146097;
        const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
        const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
        const std::int64_t mp = (5 * doy + 2) / 153;
        const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
        const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
        const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
        return {year, month, day, static_cast<int>(seconds / 3600),
                static_cast<int>(seconds % 3600 / 60)};
    }
};
