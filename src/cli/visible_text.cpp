#include "cli/visible_text.h"

#include <cstdint>
#include <cstdio>

namespace corvesta::cli {

namespace {

// The length of the well-formed UTF-8 sequence at the start of `text` and
// its code point; 0 when the first byte starts none.
std::size_t DecodeOne(std::string_view text, char32_t &codePoint) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  std::size_t length = 0;
  char32_t value = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1Fu;
    least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0Fu;
    least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07u;
    least = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) {
    return 0;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0u) != 0x80u) {
      return 0;
    }
    value = (value << 6) | (byte(i) & 0x3Fu);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return 0; // overlong, beyond Unicode, or a surrogate
  }
  codePoint = value;
  return length;
}

bool ShownAsEscape(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
         (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::string Visible(std::string_view utf8, bool keepLineBreaks) {
  std::string out;
  out.reserve(utf8.size());
  char escape[8];
  while (!utf8.empty()) {
    char32_t c = 0;
    const std::size_t length = DecodeOne(utf8, c);
    if (length == 0) {
      std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned char>(utf8[0]));
      out += escape;
      utf8.remove_prefix(1);
      continue;
    }
    if (ShownAsEscape(c) && !(keepLineBreaks && (c == '\n' || c == '\t'))) {
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      out += escape;
    } else {
      out.append(utf8.substr(0, length));
    }
    utf8.remove_prefix(length);
  }
  return out;
}

} // namespace

std::string VisibleText(std::string_view utf8) {
  return Visible(utf8, false);
}

std::string VisibleLine(std::string_view utf8) {
  return Visible(utf8, true);
}

} // namespace corvesta::cli
