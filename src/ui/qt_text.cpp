#include "ui/qt_text.h"

namespace corvesta {

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar *>(text.data()), static_cast<qsizetype>(text.size()));
}

QString OneLineText(const QString &text) {
  constexpr char16_t kControlPictures = 0x2400;
  constexpr char16_t kDeletePicture = 0x2421;
  constexpr char16_t kReplacement = 0xFFFD;
  QString shown = text;
  for (QChar &c : shown) {
    const char16_t unit = c.unicode();
    if (unit < 0x20) {
      c = QChar(static_cast<char16_t>(kControlPictures + unit));
    } else if (unit == 0x7F) {
      c = QChar(kDeletePicture);
    } else if ((unit >= 0x80 && unit <= 0x9F) || unit == 0x2028 || unit == 0x2029 ||
               (unit >= 0x202A && unit <= 0x202E) || (unit >= 0x2066 && unit <= 0x2069)) {
      c = QChar(kReplacement);
    }
  }
  return shown;
}

std::u16string FromQString(const QString &text) {
  return std::u16string(reinterpret_cast<const char16_t *>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}

} // namespace corvesta
