#include "l10n/language_choice.h"

#include "text/ascii_case.h"

#include <algorithm>

namespace {

struct Wish
{
    std::string language;  // each part folded to lower case
    std::string script;    // "hans"; empty when none is named
    std::string region;    // "br"; empty when none is named
};

std::string folded(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = asciicase::fold(c);
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
    wish.language = folded(parts.front());
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (isLetters(parts[i], 4))
            wish.script = folded(parts[i]);
        else if (wish.region.empty())
            wish.region = folded(parts[i]);
    }
    return wish;
}

// The catalog of `available` whose name folds to `name`; empty for none.
std::string offered(std::span<const std::string_view> available, std::string_view name)
{
    for (const std::string_view catalog : available) {
        if (folded(catalog) == name)
            return std::string(catalog);
    }
    return {};
}

// The catalog that serves `wish`, empty for none.
std::string servedBy(const Wish& wish, std::span<const std::string_view> available)
{
    if (!wish.region.empty()) {
        if (std::string exact = offered(available, wish.language + "_" + wish.region);
            !exact.empty())
            return exact;
    }
    if (wish.language == "pt") {
        if (std::string brazilian = offered(available, "pt_br"); !brazilian.empty())
            return brazilian;
    }
    if (wish.language == "zh") {
        const bool isSimplified = wish.script == "hans" ||
            (wish.script.empty() && (wish.region.empty() || wish.region == "cn" ||
                                     wish.region == "sg"));
        return isSimplified ? offered(available, "zh_cn") : "";
    }
    return offered(available, wish.language);
}

}  // namespace

bool meansEnglish(std::string_view wish)
{
    const std::string language = parseWish(wish).language;
    return language == "en" || language == "c" || language == "posix";
}

std::string chooseLanguage(std::span<const std::string> wishes,
                           std::span<const std::string_view> available)
{
    for (const std::string& text : wishes) {
        if (text.empty())
            continue;
        if (meansEnglish(text))
            return {};
        if (std::string served = servedBy(parseWish(text), available); !served.empty())
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
