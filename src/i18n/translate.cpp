#include "i18n/translate.h"

#include "i18n/current_language.h"
#include "i18n/own_texts.h"

namespace corvesta {

std::u16string Translate(std::u16string_view english) {
  // Our own share: the object stays while we read it, even if replaced.
  const std::shared_ptr<const CLanguageBase> language = CurrentLanguage();
  if (language == nullptr) {
    return std::u16string(english);
  }
  if (auto found = language->Find(english)) {
    return std::u16string(*found);
  }
  return std::u16string(FindOwnText(language->Id(), english).value_or(english));
}

} // namespace corvesta
