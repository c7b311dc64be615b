#include "platform/text_codec.h"

#include <cstring>

namespace corvesta {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Length of the well-formed UTF-8 sequence at `s[i]`, or 0 when the bytes
// there do not start one. `cp` receives the code point.
std::size_t DecodeUtf8At(std::string_view s, std::size_t i, char32_t &cp) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char b0 = byte(i);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  std::size_t length = 0;
  char32_t value = 0;
  unsigned char lo = 0x80;
  unsigned char hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
    value = b0 & 0x1Fu;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    value = b0 & 0x0Fu;
    if (b0 == 0xE0) {
      lo = 0xA0; // no overlong forms
    } else if (b0 == 0xED) {
      hi = 0x9F; // no surrogates
    }
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    value = b0 & 0x07u;
    if (b0 == 0xF0) {
      lo = 0x90;
    } else if (b0 == 0xF4) {
      hi = 0x8F; // nothing above U+10FFFF
    }
  } else {
    return 0;
  }
  if (i + length > s.size()) {
    return 0;
  }
  for (std::size_t k = 1; k < length; ++k) {
    unsigned char b = byte(i + k);
    unsigned char min = k == 1 ? lo : 0x80;
    unsigned char max = k == 1 ? hi : 0xBF;
    if (b < min || b > max) {
      return 0;
    }
    value = (value << 6) | (b & 0x3Fu);
  }
  cp = value;
  return length;
}

void AppendUtf8(std::string &out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

} // namespace

bool IsWellFormedUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t cp = 0;
    const std::size_t length = DecodeUtf8At(bytes, i, cp);
    if (length == 0) {
      return false;
    }
    i += length;
  }
  return true;
}

std::u16string Latin1ToUtf16(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (char c : bytes) {
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  }
  return text;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp = 0;
    std::size_t length = DecodeUtf8At(utf8, i, cp);
    if (length == 0) {
      out.push_back(static_cast<char16_t>(kReplacement));
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += length;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 3);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t unit = utf16[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      char32_t cp = 0x10000 + ((unit - 0xD800) << 10) + (utf16[i + 1] - 0xDC00u);
      AppendUtf8(out, cp);
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      AppendUtf8(out, kReplacement); // lone surrogate
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

std::string_view Utf8Prefix(std::string_view utf8, std::size_t maxBytes) {
  if (utf8.size() <= maxBytes) {
    return utf8;
  }
  std::size_t end = 0;
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp = 0;
    std::size_t length = DecodeUtf8At(utf8, i, cp);
    if (length == 0) {
      length = 1; // a stray byte counts as one character of its own
    }
    if (i + length > maxBytes) {
      break;
    }
    i += length;
    end = i;
  }
  return utf8.substr(0, end);
}

bool CopyToField(char *field, std::size_t fieldSize, std::string_view utf8) {
  if (fieldSize == 0) {
    return utf8.empty();
  }
  // Text ends at an embedded zero, as it would in the field itself.
  std::size_t zero = utf8.find('\0');
  bool cut = zero != std::string_view::npos;
  if (cut) {
    utf8 = utf8.substr(0, zero);
  }
  std::string_view fitted = Utf8Prefix(utf8, fieldSize - 1);
  std::memset(field, 0, fieldSize);
  std::memcpy(field, fitted.data(), fitted.size());
  return !cut && fitted.size() == utf8.size();
}

std::string_view FieldText(const char *field, std::size_t fieldSize) {
  const void *zero = std::memchr(field, 0, fieldSize);
  std::size_t length = zero == nullptr
                           ? fieldSize
                           : static_cast<std::size_t>(static_cast<const char *>(zero) - field);
  return std::string_view(field, length);
}

} // namespace corvesta
