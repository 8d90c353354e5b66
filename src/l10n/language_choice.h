#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The first of the user's wishes that one of `available` (catalog names such as "de" or
// "pt_BR") can serve; empty for English. A wish is a POSIX locale name ("de_DE.UTF-8@euro") or
// a Windows language tag ("zh-Hans-CN"). Portuguese without a region, or of another region, is
// served by pt_BR; Chinese in simplified script, of China or of Singapore by zh_CN. English, C
// and POSIX end the search with English; a wish nothing serves gives way to the next.
std::string chooseLanguage(std::span<const std::string> wishes,
                           std::span<const std::string_view> available);

// Whether a wish asks for the untranslated texts: English of any region, C or POSIX.
bool meansEnglish(std::string_view wish);

// The wishes of gettext's order: LANGUAGE's colon-separated list, then the first of LC_ALL,
// LC_MESSAGES and LANG that is set. An LC_ALL of C or POSIX, the usual way to ask a program
// for its untranslated texts, overrides LANGUAGE.
std::vector<std::string> posixLanguageWishes(
    const std::function<const char*(const char* name)>& environment);
