#pragma once
// The decoder of the two replies that are read as UTF-8 (wizard information
// and share list). It knows sequences of up to three bytes:
// - a text with any byte of 0xF0 or above decodes to nothing at all;
// - a byte below 0x80 is one unit; a lead byte 110xxxxx takes one more byte,
//   any other byte of 0x80 or above takes two more;
// - a following byte outside 0x80..0xBF, or a sequence cut by the end of the
//   text, ends the decoding: the units decoded so far are the result.

#include <string>
#include <string_view>

namespace corvesta {

std::u16string DecodeUtf8Reply(std::string_view text);

} // namespace corvesta
