#pragma once
// The process-wide language object in use. Null means no translation: every
// text is shown in English as written. The language is chosen once at
// start-up and stays for the whole run; the object is owned here.

#include "i18n/language_base.h"

namespace corvesta {

// The language object in use, or null.
CLanguageBase *CurrentLanguage();

// Deletes the current language object, then for index 0 to 4 creates the
// object of that id (English, French, German, Spanish, Russian), makes it
// current and returns true. Any other index leaves no language object and
// returns false, as does a failed allocation.
bool SelectLanguage(int index);

// Deletes the current language object, if any; CurrentLanguage becomes null.
void ClearCurrentLanguage();

} // namespace corvesta
