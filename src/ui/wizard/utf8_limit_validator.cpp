#include "ui/wizard/utf8_limit_validator.h"

namespace corvesta {

Utf8LimitValidator::Utf8LimitValidator(std::size_t maxBytes, QObject *parent)
    : QValidator(parent), m_maxBytes(maxBytes) {}

bool Utf8LimitValidator::Fits(const QString &text, std::size_t maxBytes) {
  for (const QChar c : text) {
    if (c.isSurrogate()) {
      return false;
    }
  }
  return static_cast<std::size_t>(text.toUtf8().size()) <= maxBytes;
}

QValidator::State Utf8LimitValidator::validate(QString &input, int &) const {
  return Fits(input, m_maxBytes) ? Acceptable : Invalid;
}

} // namespace corvesta
