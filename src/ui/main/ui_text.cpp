#include "ui/main/ui_text.h"

#include <string>
#include <vector>

#include "i18n/fill_texts.h"
#include "i18n/translate.h"
#include "ui/qt_text.h"

namespace corvesta {

QString UiText(std::u16string_view english) {
  return ToQString(Translate(english));
}

QString UiText(std::u16string_view english, std::initializer_list<QString> texts) {
  std::vector<std::u16string> owned;
  owned.reserve(texts.size());
  for (const QString &text : texts) {
    owned.push_back(FromQString(text));
  }
  const std::vector<std::u16string_view> views(owned.begin(), owned.end());
  return ToQString(FillTexts(Translate(english), views));
}

} // namespace corvesta
