#pragma once
// The rule for every text a person types that goes to a box: it must be
// well-formed text, hold no control character, and no character beyond
// three UTF-8 bytes, since the box's replies are read with a decoder that
// knows no longer sequences and could never carry such a text back.

#include <optional>
#include <string>
#include <string_view>

namespace corvesta {

// The translated message for the first fault, with the translated field
// word `what` (an English key such as u"Name") filled in; nothing when the
// text may go to a box. The empty text passes.
std::optional<std::u16string> CheckBoxText(std::u16string_view what, std::string_view utf8);
// The same for a text as a window holds it: a lone surrogate is not
// well-formed, a surrogate pair is a character beyond three bytes.
std::optional<std::u16string> CheckBoxText(std::u16string_view what, std::u16string_view text);

} // namespace corvesta
