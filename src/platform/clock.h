#pragma once

#include <chrono>
#include <cstdint>

// The time of day, so that what records it can be tested at a time of its choosing.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual std::int64_t now() = 0;  // whole seconds since 1970-01-01 00:00 UTC
};

// The system's clock: the standard library's, the same on every platform.
class SystemClock final : public Clock
{
public:
    std::int64_t now() override
    {
        const auto since = std::chrono::system_clock::now().time_since_epoch();
        return std::chrono::duration_cast<std::chrono::seconds>(since).count();
    }
};
