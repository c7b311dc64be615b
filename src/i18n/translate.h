#pragma once
// The one lookup of every text shown to the user. Texts are written in
// English in the code; with a language object in use the table's translation
// is returned, then the program's own texts are looked in (own_texts.h), and
// a text that neither holds stays English. The language in
// use (CurrentLanguage) is chosen once at start-up and kept for the run, so
// Translate may be called from any thread.

#include <string>
#include <string_view>

#include "i18n/current_language.h"

namespace corvesta {

// The current language's translation of `english`, or `english` unchanged
// when no language object is in use or its table lacks the text.
std::u16string Translate(std::u16string_view english);

} // namespace corvesta
