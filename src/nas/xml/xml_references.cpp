#include "nas/xml/xml_references.h"

#include <cstdint>

#include "nas/xml/xml_named_references.h"

namespace corvesta {

namespace {

// The characters a reference may hold between "&" and ";".
constexpr std::size_t kMaxReferenceName = 9;
constexpr std::uint32_t kLastCodePoint = 0x10FFFF;

int DigitValue(char ch, bool hex) {
  if (ch >= '0' && ch <= '9') {
    return ch - '0';
  }
  if (hex && ch >= 'a' && ch <= 'f') {
    return ch - 'a' + 10;
  }
  return -1;
}

// The digits after "#" or "#x", up to the first character that is not one;
// anything behind them is ignored.
std::uint32_t NumericValue(std::string_view name) {
  const bool hex = name.size() > 1 && name[1] == 'x';
  std::uint32_t value = 0;
  for (std::size_t i = hex ? 2 : 1; i < name.size(); ++i) {
    const int digit = DigitValue(name[i], hex);
    if (digit < 0) {
      break;
    }
    value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
  }
  // Values a UTF-16 text cannot carry as a character stay undecoded, so a
  // reply never yields a broken surrogate or an out-of-range code point.
  if (value > kLastCodePoint || (value >= 0xD800 && value <= 0xDFFF)) {
    return 0;
  }
  return value;
}

void AppendCodePoint(std::uint32_t value, std::u16string &out) {
  if (value < 0x10000) {
    out.push_back(static_cast<char16_t>(value));
    return;
  }
  out.push_back(static_cast<char16_t>(0xD800 | (((value - 0x10000) >> 10) & 0x3FF)));
  out.push_back(static_cast<char16_t>(0xDC00 | (value & 0x3FF)));
}

} // namespace

void AppendDecodedText(std::u16string_view text, std::u16string &out) {
  out.reserve(out.size() + text.size());
  std::size_t copied = 0;
  for (std::size_t at = text.find(u'&'); at != text.npos; at = text.find(u'&', at + 1)) {
    char name[kMaxReferenceName];
    std::size_t length = 0;
    bool capital = false;
    std::size_t i = at + 1;
    for (; i < text.size() && length < kMaxReferenceName; ++i) {
      const char16_t ch = text[i];
      if (ch >= 0x80 || ch == u';') {
        break;
      }
      capital = capital || (ch >= u'A' && ch <= u'Z');
      name[length++] = static_cast<char>(ch >= u'A' && ch <= u'Z' ? ch - u'A' + u'a' : ch);
    }
    if (i >= text.size() || text[i] != u';') {
      continue;
    }
    const std::string_view collected(name, length);
    const std::uint32_t value = !collected.empty() && collected[0] == '#'
                                    ? NumericValue(collected)
                                    : LookupNamedReference(collected, capital);
    if (value == 0) {
      continue;
    }
    out.append(text.substr(copied, at - copied));
    AppendCodePoint(value, out);
    copied = i + 1;
    at = i; // the search goes on behind the ";"
  }
  out.append(text.substr(copied));
}

} // namespace corvesta
