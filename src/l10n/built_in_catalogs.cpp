#include "l10n/built_in_catalogs.h"

#include "l10n/compiled_catalogs.h"

#include <algorithm>

std::span<const std::string_view> builtInLanguages()
{
    return compiledcatalogs::Languages;
}

Catalog builtInCatalog(std::string_view language)
{
    const auto found = std::find(std::begin(compiledcatalogs::Languages),
                                 std::end(compiledcatalogs::Languages), language);
    if (language.empty() || found == std::end(compiledcatalogs::Languages))
        return {};
    return Catalog::fromMo(compiledcatalogs::Mo[found - std::begin(compiledcatalogs::Languages)]);
}
