#include "nas/replies/utf8_reply_decoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace corvesta {

namespace {

bool IsFollowByte(std::uint8_t byte) {
  return byte >= 0x80 && byte <= 0xBF;
}

bool HasFourByteLead(const std::uint8_t *from, const std::uint8_t *to) {
  return std::any_of(from, to, [](std::uint8_t byte) { return byte >= 0xF0; });
}

// Widens a run of ASCII bytes from `at`, sixteen at a time (where the
// processor allows it) or eight at a time while a whole block of them is
// ASCII, then byte by byte; returns where the run ended.
std::size_t CopyAscii(const std::uint8_t *bytes, std::size_t size, std::size_t at, char16_t *out,
                      std::size_t &written) {
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  while (at + 16 <= size) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + at));
    if (_mm_movemask_epi8(block) != 0) {
      break;
    }
    auto *to = reinterpret_cast<__m128i *>(out + written);
    _mm_storeu_si128(to, _mm_unpacklo_epi8(block, zero));
    _mm_storeu_si128(to + 1, _mm_unpackhi_epi8(block, zero));
    written += 16;
    at += 16;
  }
#endif
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  while (at + 8 <= size) {
    std::uint64_t word;
    std::memcpy(&word, bytes + at, sizeof word);
    if ((word & kHighBits) != 0) {
      break;
    }
    for (int i = 0; i < 8; ++i) {
      out[written + i] = static_cast<char16_t>(bytes[at + i]);
    }
    written += 8;
    at += 8;
  }
  while (at < size && bytes[at] < 0x80) {
    out[written++] = static_cast<char16_t>(bytes[at++]);
  }
  return at;
}

// The length of the run of ASCII bytes the text begins with.
std::size_t AsciiPrefix(const std::uint8_t *bytes, std::size_t size) {
  std::size_t at = 0;
#if defined(__SSE2__)
  while (at + 16 <= size) {
    const int high =
        _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + at)));
    if (high != 0) {
      return at + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(high)));
    }
    at += 16;
  }
#endif
  while (at < size && bytes[at] < 0x80) {
    ++at;
  }
  return at;
}

// Decodes from the start; `end` is the offset where the decoding stopped
// (the text's size when it reached the end). The units are written into a
// buffer of the text's size, which no decoding outgrows (every byte gives
// at most one unit), and cut to what was written. A byte of 0xF0 or above
// anywhere, before or after the stop, gives nothing.
//
// The buffer starts as every byte widened to one unit, which is already
// the decoded text up to the first byte of 0x80 or above (for most replies
// the whole text) and spares filling the buffer with zeros first. From
// that byte on the units are written over it; they never overtake the
// bytes they come from.
std::u16string Decode(std::string_view text, std::size_t &end) {
  end = 0;
  const auto *bytes = reinterpret_cast<const std::uint8_t *>(text.data());
  const std::size_t size = text.size();
  // Looked at first, the bytes are then still in the cache for widening.
  std::size_t at = AsciiPrefix(bytes, size);
  std::size_t written = at;
  std::u16string units(bytes, bytes + size);
  char16_t *out = units.data();
  while (at < size) {
    // Replies are mostly ASCII: copy runs of it without the branches below.
    at = CopyAscii(bytes, size, at, out, written);
    if (at == size) {
      break;
    }
    const std::uint32_t lead = bytes[at];
    if (lead >= 0xF0) {
      return {};
    }
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
  // The bytes before the stop were looked at on the way; the rest not yet.
  if (HasFourByteLead(bytes + at, bytes + size)) {
    return {};
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
