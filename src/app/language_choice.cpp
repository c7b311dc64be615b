#include "app/language_choice.h"

#include <array>
#include <string>
#include <utility>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "i18n/current_language.h"

namespace corvesta {
namespace {

constexpr std::array<std::pair<std::u16string_view, int>, 4> kLanguageCodes{{
    {u"FRE", 1},
    {u"GER", 2},
    {u"SPA", 3},
    {u"RUS", 4},
}};

} // namespace

int LanguageIndexForCode(std::u16string_view code) {
  for (const auto &[known, index] : kLanguageCodes) {
    if (code == known) {
      return index;
    }
  }
  return 0;
}

bool ChooseLanguageFromSettings() {
  std::u16string code;
  if (!settings::Read(settings::kSectionLanguage, settings::kKeyLanguage, code) || code.empty()) {
    return CurrentLanguage() != nullptr;
  }
  return SelectLanguage(LanguageIndexForCode(code));
}

} // namespace corvesta
