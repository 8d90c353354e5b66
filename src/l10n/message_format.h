#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Fills a message's placeholders, written as C's printf writes strings so that msgfmt checks
// every translation against its English: "%s" takes the next argument, "%2$s" the second (a
// translation may need another order), "%%" is a percent sign. A placeholder without its
// argument, or anything else after '%', stays as written.
std::u16string formatMessage(std::u16string_view pattern,
                             std::initializer_list<std::u16string_view> arguments);
