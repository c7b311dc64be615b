#include "ui/main/ui_text.h"

#include "i18n/format_pattern.h"
#include "i18n/translate.h"
#include "ui/qt_text.h"

namespace corvesta {

QString UiText(std::u16string_view english) {
  return ToQString(Translate(english));
}

QString UiText(std::u16string_view english, const QString &text) {
  const std::u16string value = FromQString(text);
  return ToQString(FillPattern(Translate(english), {value}));
}

QString UiText(std::u16string_view english, const QString &first, const QString &second) {
  const std::u16string one = FromQString(first);
  const std::u16string two = FromQString(second);
  return ToQString(FillPattern(Translate(english), {one, two}));
}

} // namespace corvesta
