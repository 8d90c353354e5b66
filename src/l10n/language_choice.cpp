#include "l10n/language_choice.h"

#include <algorithm>

namespace {

struct Wish
{
    std::string language;  // lower case
    std::string script;    // lower case, "hans"; empty when none is named
    std::string region;    // upper case; empty when none is named
};

std::string withCase(std::string_view text, bool isUpper)
{
    std::string out(text);
    for (char& c : out) {
        if (isUpper && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (!isUpper && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool isLetters(std::string_view part, std::size_t size)
{
    return part.size() == size && std::all_of(part.begin(), part.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
           });
}

Wish parseWish(std::string_view text)
{
    text = text.substr(0, text.find_first_of(".@"));
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t end = text.find_first_of("_-");
        parts.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    Wish wish;
    wish.language = withCase(parts.front(), false);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (isLetters(parts[i], 4))
            wish.script = withCase(parts[i], false);
        else if (wish.region.empty())
            wish.region = withCase(parts[i], true);
    }
    return wish;
}

bool isOffered(std::span<const std::string_view> available, std::string_view name)
{
    return std::find(available.begin(), available.end(), name) != available.end();
}

// The catalog that serves `wish`, empty for none.
std::string servedBy(const Wish& wish, std::span<const std::string_view> available)
{
    const std::string exact = wish.language + "_" + wish.region;
    if (!wish.region.empty() && isOffered(available, exact))
        return exact;
    if (wish.language == "pt" && isOffered(available, "pt_BR"))
        return "pt_BR";
    if (wish.language == "zh") {
        const bool isSimplified = wish.script == "hans" ||
            (wish.script.empty() && (wish.region.empty() || wish.region == "CN" ||
                                     wish.region == "SG"));
        return isSimplified && isOffered(available, "zh_CN") ? "zh_CN" : "";
    }
    if (isOffered(available, wish.language))
        return wish.language;
    return {};
}

}  // namespace

std::string chooseLanguage(std::span<const std::string> wishes,
                           std::span<const std::string_view> available)
{
    for (const std::string& text : wishes) {
        if (text.empty())
            continue;
        const Wish wish = parseWish(text);
        if (wish.language == "en" || wish.language == "c" || wish.language == "posix")
            return {};
        if (std::string served = servedBy(wish, available); !served.empty())
            return served;
    }
    return {};
}

std::vector<std::string> posixLanguageWishes(
    const std::function<const char*(const char* name)>& environment)
{
    const auto value = [&](const char* name) -> std::string {
        const char* const text = environment(name);
        return text != nullptr ? text : "";
    };
    const std::string all = value("LC_ALL");
    const std::string allLanguage = parseWish(all).language;
    std::vector<std::string> wishes;
    if (allLanguage != "c" && allLanguage != "posix") {
        const std::string language = value("LANGUAGE");
        std::string_view list = language;
        while (!list.empty()) {
            const std::size_t end = list.find(':');
            wishes.emplace_back(list.substr(0, end));
            list = end == std::string_view::npos ? "" : list.substr(end + 1);
        }
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (std::string text = value(name); !text.empty()) {
            wishes.push_back(std::move(text));
            break;
        }
    }
    return wishes;
}
