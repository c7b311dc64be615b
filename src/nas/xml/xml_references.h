#pragma once
// Decoding of the character references in XML text: "&#65;", "&#x41;" and
// named ones such as "&amp;" or "&eacute;". A reference that is not
// recognised stays in the text as it was written.

#include <string>
#include <string_view>

namespace corvesta {

// Appends `text` to `out` with its references decoded.
void AppendDecodedText(std::u16string_view text, std::u16string &out);

} // namespace corvesta
