#include "ui/qt_text.h"

namespace corvesta {

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar *>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string FromQString(const QString &text) {
  return std::u16string(reinterpret_cast<const char16_t *>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}

} // namespace corvesta
