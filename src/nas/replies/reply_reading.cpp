#include "nas/replies/reply_reading.h"

#include <limits>

#include "platform/text_codec.h"

namespace corvesta {

namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

template <class Number> Number ReadNumber(std::u16string_view text) {
  std::size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) {
    ++at;
  }
  bool negative = false;
  if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
    negative = text[at] == u'-';
    ++at;
  }
  // Accumulated as a negative value, which reaches the type's minimum too.
  constexpr Number kMin = std::numeric_limits<Number>::min();
  Number value = 0;
  for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at) {
    const Number digit = static_cast<Number>(text[at] - u'0');
    if (value < (kMin + digit) / 10) {
      value = kMin;
      continue;
    }
    value = static_cast<Number>(value * 10 - digit);
  }
  if (negative) {
    return value;
  }
  return value == kMin ? std::numeric_limits<Number>::max() : static_cast<Number>(-value);
}

} // namespace

std::u16string ReplyText(std::string_view reply) {
  return Utf8ToUtf16(reply);
}

std::int32_t ReplyNumber(std::u16string_view text) {
  return ReadNumber<std::int32_t>(text);
}

std::int64_t ReplyNumber64(std::u16string_view text) {
  return ReadNumber<std::int64_t>(text);
}

bool StoreReplyText(char *field, std::size_t size, std::u16string_view text) {
  return CopyToField(field, size, Utf16ToUtf8(text));
}

} // namespace corvesta
