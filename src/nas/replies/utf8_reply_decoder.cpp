#include "nas/replies/utf8_reply_decoder.h"

#include <algorithm>
#include <cstdint>

namespace corvesta {

namespace {

bool IsFollowByte(std::uint8_t byte) {
  return byte >= 0x80 && byte <= 0xBF;
}

// Decodes from the start; `end` is the offset where the decoding stopped
// (the text's size when it reached the end). The units are written into a
// buffer of the text's size, which no decoding outgrows (every byte gives
// at most one unit), and cut to what was written.
std::u16string Decode(std::string_view text, std::size_t &end) {
  end = 0;
  const auto *bytes = reinterpret_cast<const std::uint8_t *>(text.data());
  const std::size_t size = text.size();
  if (std::any_of(bytes, bytes + size, [](std::uint8_t byte) { return byte >= 0xF0; })) {
    return {};
  }
  std::u16string units(size, u'\0');
  char16_t *out = units.data();
  std::size_t written = 0;
  std::size_t at = 0;
  while (at < size) {
    // Replies are mostly ASCII: copy runs of it without the branches below.
    while (at < size && bytes[at] < 0x80) {
      out[written++] = static_cast<char16_t>(bytes[at++]);
    }
    if (at == size) {
      break;
    }
    const std::uint32_t lead = bytes[at];
    if ((lead & 0xE0) == 0xC0) {
      if (at + 1 >= size || !IsFollowByte(bytes[at + 1])) {
        break;
      }
      const std::uint32_t b2 = bytes[at + 1];
      out[written++] = static_cast<char16_t>(((lead << 6) & 0x7FF) | (b2 & 0x3F));
      at += 2;
    } else {
      if (at + 2 >= size || !IsFollowByte(bytes[at + 1]) || !IsFollowByte(bytes[at + 2])) {
        break;
      }
      const std::uint32_t b2 = bytes[at + 1];
      const std::uint32_t b3 = bytes[at + 2];
      out[written++] =
          static_cast<char16_t>((((b2 << 6) & 0xFFF) | (b3 & 0x3F) | (lead << 12)) & 0xFFFF);
      at += 3;
    }
  }
  end = at;
  units.resize(written);
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
