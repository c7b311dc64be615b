#pragma once
// The decoder of the two replies that are read as UTF-8 (wizard information
// and share list). It knows sequences of up to three bytes:
// - a text with any byte of 0xF0 or above decodes to nothing at all;
// - a byte below 0x80 is one unit; a lead byte 110xxxxx takes one more byte,
//   any other byte of 0x80 or above takes two more;
// - a following byte outside 0x80..0xBF, or a sequence cut by the end of the
//   text, ends the decoding: the units decoded so far are the result.

#include <optional>
#include <string>
#include <string_view>

namespace corvesta {

std::u16string DecodeUtf8Reply(std::string_view text);

// The same decoding, but only a text decoded to its end counts: nothing when
// a byte of 0xF0 or above, a bad following byte or a cut sequence stopped
// it, so a reader never takes the part before the fault for the whole reply.
std::optional<std::u16string> DecodeWholeUtf8Reply(std::string_view text);

} // namespace corvesta
