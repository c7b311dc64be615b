#pragma once
// What the reply parsers share: the reply as UTF-16 text, numbers read from
// element texts, and texts stored into the fixed-width 8-bit fields.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvesta {

// The reply converted from the program's 8-bit text (UTF-8) to UTF-16.
std::u16string ReplyText(std::string_view reply);

// Decimal: leading blanks and a sign accepted, reading stops at the first
// non-digit, 0 without a digit. Values beyond the type's range are held at
// its limit.
std::int32_t ReplyNumber(std::u16string_view text);
std::int64_t ReplyNumber64(std::u16string_view text);

// Stores the text into a zero-terminated field of `size` bytes, cut at a
// character boundary when it does not fit. False when it was cut.
bool StoreReplyText(char *field, std::size_t size, std::u16string_view text);

template <std::size_t N> bool StoreReplyText(char (&field)[N], std::u16string_view text) {
  return StoreReplyText(field, N, text);
}

} // namespace corvesta
