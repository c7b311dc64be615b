#pragma once
// The process-wide language object in use. Null means no translation: every
// text is shown in English as written. The language is chosen at start-up;
// it may be replaced later (tests do) while workers translate: a reader holds
// its own share of the object it looked up, so a replacement never deletes
// an object that a translation is still reading. The object goes when the
// last share of it does.

#include <memory>

#include "i18n/language_base.h"

namespace corvesta {

// The language object in use, or null.
std::shared_ptr<const CLanguageBase> CurrentLanguage();

// For index 0 to 4 creates the object of that id (English, French, German,
// Spanish, Russian), makes it current and returns true. Any other index
// leaves no language object and returns false, as does a failed allocation.
bool SelectLanguage(int index);

// No language object any more; CurrentLanguage becomes null.
void ClearCurrentLanguage();

} // namespace corvesta
