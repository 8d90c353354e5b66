#include "l10n/message_format.h"

std::u16string formatMessage(std::u16string_view pattern,
                             std::initializer_list<std::u16string_view> arguments)
{
    const auto argument = [&](std::size_t i) -> const std::u16string_view* {
        return i < arguments.size() ? arguments.begin() + i : nullptr;
    };
    std::u16string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != u'%' || i + 1 == pattern.size()) {
            out += pattern[i];
            continue;
        }
        const std::u16string_view rest = pattern.substr(i + 1);
        if (rest.front() == u'%') {
            out += u'%';
            ++i;
        } else if (rest.front() == u's' && argument(next) != nullptr) {
            out += *argument(next++);
            ++i;
        } else if (rest.size() >= 3 && rest[0] >= u'1' && rest[0] <= u'9' && rest[1] == u'$' &&
                   rest[2] == u's' && argument(static_cast<std::size_t>(rest[0] - u'1'))) {
            out += *argument(static_cast<std::size_t>(rest[0] - u'1'));
            i += 3;
        } else {
            out += u'%';
        }
    }
    return out;
}
