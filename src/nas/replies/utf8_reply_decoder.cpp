#include "nas/replies/utf8_reply_decoder.h"

#include <algorithm>
#include <cstdint>

namespace corvesta {

namespace {

bool IsFollowByte(std::uint8_t byte) {
  return byte >= 0x80 && byte <= 0xBF;
}

// Decodes from the start; `end` is the offset where the decoding stopped
// (the text's size when it reached the end).
std::u16string Decode(std::string_view text, std::size_t &end) {
  end = 0;
  const auto byteAt = [&](std::size_t at) { return static_cast<std::uint8_t>(text[at]); };
  if (std::any_of(text.begin(), text.end(),
                  [](char c) { return static_cast<std::uint8_t>(c) >= 0xF0; })) {
    return {};
  }
  std::u16string units;
  units.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    const std::uint32_t lead = byteAt(at);
    if (lead < 0x80) {
      units.push_back(static_cast<char16_t>(lead));
      at += 1;
    } else if ((lead & 0xE0) == 0xC0) {
      if (at + 1 >= text.size() || !IsFollowByte(byteAt(at + 1))) {
        break;
      }
      const std::uint32_t b2 = byteAt(at + 1);
      units.push_back(static_cast<char16_t>(((lead << 6) & 0x7FF) | (b2 & 0x3F)));
      at += 2;
    } else {
      if (at + 2 >= text.size() || !IsFollowByte(byteAt(at + 1)) || !IsFollowByte(byteAt(at + 2))) {
        break;
      }
      const std::uint32_t b2 = byteAt(at + 1);
      const std::uint32_t b3 = byteAt(at + 2);
      units.push_back(
          static_cast<char16_t>((((b2 << 6) & 0xFFF) | (b3 & 0x3F) | (lead << 12)) & 0xFFFF));
      at += 3;
    }
  }
  end = at;
  return units;
}

} // namespace

std::u16string DecodeUtf8Reply(std::string_view text) {
  std::size_t end = 0;
  return Decode(text, end);
}

std::optional<std::u16string> DecodeWholeUtf8Reply(std::string_view text) {
  std::size_t end = 0;
  std::u16string units = Decode(text, end);
  if (end != text.size()) {
    return std::nullopt;
  }
  return units;
}

} // namespace corvesta
