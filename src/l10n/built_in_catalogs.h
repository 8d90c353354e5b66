#pragma once

#include "l10n/catalog.h"

#include <span>
#include <string_view>

// The catalogs built into the programs, so that they need no files beside them: the names of
// their languages ("de", "pt_BR"), and each one read.
std::span<const std::string_view> builtInLanguages();

// The catalog of `language`, one of builtInLanguages(); English for any other name.
Catalog builtInCatalog(std::string_view language);
