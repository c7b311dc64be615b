#pragma once
// A text field's guard for a fixed-width field of the protocol: the text's
// UTF-8 form stays within a number of bytes, and characters beyond U+FFFF
// are refused (typing stops at the limit; a paste that would pass it is
// refused whole).

#include <QValidator>
#include <cstddef>

namespace corvesta {

class Utf8LimitValidator : public QValidator {
  Q_OBJECT
public:
  Utf8LimitValidator(std::size_t maxBytes, QObject *parent);
  State validate(QString &input, int &pos) const override;

  // The same test for any text.
  static bool Fits(const QString &text, std::size_t maxBytes);

private:
  std::size_t m_maxBytes;
};

} // namespace corvesta
