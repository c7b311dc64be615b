#include "setup/box_text_rules.h"

#include "i18n/format_pattern.h"
#include "i18n/own_texts.h"
#include "i18n/translate.h"
#include "platform/text_codec.h"

namespace corvesta {

namespace {

// C0 controls, DEL and the C1 controls.
bool IsControl(char16_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool IsSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

std::u16string Message(std::u16string_view pattern, std::u16string_view what) {
  return FillPattern(Translate(pattern), {Translate(what)});
}

} // namespace

std::optional<std::u16string> CheckBoxText(std::u16string_view what, std::string_view utf8) {
  if (!IsWellFormedUtf8(utf8)) {
    return Message(kInvalidTextText, what);
  }
  return CheckBoxText(what, std::u16string_view(Utf8ToUtf16(utf8)));
}

std::optional<std::u16string> CheckBoxText(std::u16string_view what, std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsSurrogate(c)) {
      const bool pair =
          c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
      return Message(pair ? kUnsupportedCharactersText : kInvalidTextText, what);
    }
    if (IsControl(c)) {
      return Message(kUnsupportedCharactersText, what);
    }
  }
  return std::nullopt;
}

} // namespace corvesta
