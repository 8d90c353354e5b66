#include "l10n/built_in_catalogs.h"

#include "l10n/compiled_catalogs.h"
#include "l10n/language_choice.h"
#include "text/utf8.h"

#include <algorithm>
#include <optional>

std::span<const std::string_view> builtInLanguages()
{
    return compiledcatalogs::Languages;
}

Catalog builtInCatalog(std::string_view language)
{
    const auto found = std::find(std::begin(compiledcatalogs::Languages),
                                 std::end(compiledcatalogs::Languages), language);
    if (found == std::end(compiledcatalogs::Languages))
        return {};
    return Catalog::fromMo(compiledcatalogs::Mo[found - std::begin(compiledcatalogs::Languages)]);
}

Catalog programCatalog(std::span<const std::u16string> arguments,
                       const std::vector<std::string>& systemWishes)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string_view argument = arguments[i];
        std::optional<std::u16string_view> wished;
        if (argument == u"--language" && i + 1 < arguments.size())
            wished = arguments[i + 1];
        else if (argument.starts_with(u"--language="))
            wished = argument.substr(11);
        if (wished) {
            const std::vector<std::string> wishes{utf8::encode(*wished)};
            return builtInCatalog(chooseLanguage(wishes, builtInLanguages()));
        }
    }
    return builtInCatalog(chooseLanguage(systemWishes, builtInLanguages()));
}
