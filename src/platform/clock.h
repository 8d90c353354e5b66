#pragma once

#include <chrono>
#include <cstdint>

// A moment as the user's clock on the wall shows it.
struct LocalTime
{
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
    int hour = 0;
    int minute = 0;

    bool operator==(const LocalTime&) const = default;
};

// The time of day, so that what records it can be tested at a time of its choosing.
class Clock
{
public:
    virtual ~Clock() = default;
    // Whole seconds since 1970-01-01 00:00 UTC; the standard library's, the same everywhere.
    virtual std::int64_t now()
    {
        const auto since = std::chrono::system_clock::now().time_since_epoch();
        return std::chrono::duration_cast<std::chrono::seconds>(since).count();
    }
    // `time` (as now() counts) in the user's time zone.
    virtual LocalTime localTime(std::int64_t time) = 0;
};
