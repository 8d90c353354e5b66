# Writes compiled_catalogs.h: the languages of LANGUAGES (a ;-list) and, for each, the bytes of
# MO_DIR/<language>.mo as a constant array, so that the programs carry their translations.
# Run as: cmake -DLANGUAGES=... -DMO_DIR=... -DOUTPUT=... -P embed_catalogs.cmake
set(names "")
set(arrays "")
set(spans "")
string(REPLACE "," ";" LANGUAGES "${LANGUAGES}")
foreach(language IN LISTS LANGUAGES)
    file(READ "${MO_DIR}/${language}.mo" hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)"
        "\\1\n    " bytes "${bytes}")
    string(APPEND names "    \"${language}\",\n")
    string(APPEND arrays "inline constexpr std::uint8_t Mo_${language}[] = {\n    ${bytes}\n};\n")
    string(APPEND spans "    Mo_${language},\n")
endforeach()
set(content "// Generated from po/ by cmake/embed_catalogs.cmake; do not edit.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace compiledcatalogs {

${arrays}
inline constexpr std::string_view Languages[] = {
${names}};

inline constexpr std::span<const std::uint8_t> Mo[] = {
${spans}};

}  // namespace compiledcatalogs
")
file(WRITE "${OUTPUT}.new" "${content}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
