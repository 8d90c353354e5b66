#pragma once

#include "history/history_entry.h"
#include "platform/clock.h"

#include <string>

// A clock in UTC whose time moves on a second at each reading, from `time`.
class FakeClock final : public Clock
{
public:
    std::int64_t time = 1'796'685'004;  // 2026-12-07 23:10:04 UTC

    std::int64_t now() override { return time++; }
    LocalTime localTime(std::int64_t at) override
    {
        const std::string text = historyTimeText(at);  // 2026-12-07T23:10:04Z
        const auto number = [&](std::size_t from, std::size_t length) {
            return std::stoi(text.substr(from, length));
        };
        return {number(0, 4), number(5, 2), number(8, 2), number(11, 2), number(14, 2)};
    }
};
