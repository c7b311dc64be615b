#pragma once
// The translation tables built into the program, generated at build time from
// the data files in resources/i18n/ (UTF-8 in the table text format). Each
// language has two texts: the user-interface texts, then the time-zone names
// followed by further interface texts.

#include <string_view>

#include "i18n/language_base.h"

namespace corvesta {

struct BuiltInTable {
  std::string_view first;
  std::string_view second;
};

// The UTF-8 texts of the language's table. English holds one entry.
BuiltInTable BuiltInTableOf(LanguageId id);

} // namespace corvesta
