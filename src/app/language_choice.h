#pragma once
// The interface language, chosen once at start-up from the code in the
// settings file ("Language" in section "Language").

#include <string_view>

namespace corvesta {

// The language index for a code: "FRE" 1, "GER" 2, "SPA" 3, "RUS" 4, matched
// exactly and case-sensitively; any other code 0 (English).
int LanguageIndexForCode(std::u16string_view code);

// Reads the code and installs the language object. An empty value, a missing
// key and a missing or unreadable settings file install nothing: texts are
// then shown in English as written. Returns whether a language object is in
// use afterwards.
bool ChooseLanguageFromSettings();

} // namespace corvesta
