#pragma once
// The one Base64 encoder and decoder: standard alphabet, "=" fill.

#include <optional>
#include <string>
#include <string_view>

namespace corvesta {

std::string Base64Encode(std::string_view bytes);

// Decodes standard Base64. The fill may be left out (a last group of two or
// three characters). Anything else that is not Base64 (a character outside
// the alphabet, blanks, a fill in the middle, a lone last character, nonzero
// unused bits) yields nothing, so text edited by hand is never half-decoded.
std::optional<std::string> Base64Decode(std::string_view text);

} // namespace corvesta
