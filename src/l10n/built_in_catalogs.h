#pragma once

#include "l10n/catalog.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

// The catalogs built into the programs, so that they need no files beside them: the names of
// their languages ("de", "pt_BR"), and each one read.
std::span<const std::string_view> builtInLanguages();

// The catalog of `language`, one of builtInLanguages(); English for any other name.
Catalog builtInCatalog(std::string_view language);

// The catalog a window program speaks: the language of its "--language LL" (or
// "--language=LL") argument when there is one, else the first of the system's wishes that a
// built-in catalog serves; English when none does.
Catalog programCatalog(std::span<const std::u16string> arguments,
                       const std::vector<std::string>& systemWishes);
