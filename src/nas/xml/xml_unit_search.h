#pragma once
// Searches of a UTF-16 text for the next unit of a kind, eight units at a
// time where the processor allows it, then one by one for the rest. Each
// returns the offset of the first unit found at or after `from`, or the
// text's size when there is none; none reads outside the text.

#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace corvesta::xml_unit_search {

#if defined(__SSE2__)
inline constexpr std::size_t kBlockUnits = 8;

inline __m128i LoadBlock(const char16_t *at) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
}

// One bit pair per unit of the block; the offset of the first unit marked.
inline std::size_t FirstMarked(int mask) {
  return static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask))) / 2;
}
#endif

// The first unit equal to `unit`.
inline std::size_t FindUnit(std::u16string_view text, std::size_t from, char16_t unit) {
  const std::size_t end = text.size();
  const char16_t *data = text.data();
  std::size_t i = from;
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi16(static_cast<short>(unit));
  for (; i + kBlockUnits <= end; i += kBlockUnits) {
    const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(LoadBlock(data + i), wanted));
    if (mask != 0) {
      return i + FirstMarked(mask);
    }
  }
#endif
  while (i < end && data[i] != unit) {
    ++i;
  }
  return i < end ? i : end;
}

// The first unit at or below `limit` (units compared as unsigned numbers).
inline std::size_t FindAtOrBelow(std::u16string_view text, std::size_t from, char16_t limit) {
  const std::size_t end = text.size();
  const char16_t *data = text.data();
  std::size_t i = from;
#if defined(__SSE2__)
  const __m128i top = _mm_set1_epi16(static_cast<short>(limit));
  const __m128i zero = _mm_setzero_si128();
  for (; i + kBlockUnits <= end; i += kBlockUnits) {
    // Saturating subtraction leaves 0 exactly for the units at or below.
    const __m128i over = _mm_subs_epu16(LoadBlock(data + i), top);
    const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(over, zero));
    if (mask != 0) {
      return i + FirstMarked(mask);
    }
  }
#endif
  while (i < end && data[i] > limit) {
    ++i;
  }
  return i < end ? i : end;
}

// The start of the first occurrence of `sequence` (not empty).
inline std::size_t FindSequence(std::u16string_view text, std::size_t from,
                                std::u16string_view sequence) {
  const std::size_t end = text.size();
  for (std::size_t i = FindUnit(text, from, sequence[0]); i < end;
       i = FindUnit(text, i + 1, sequence[0])) {
    if (end - i < sequence.size()) {
      break;
    }
    if (text.compare(i, sequence.size(), sequence) == 0) {
      return i;
    }
  }
  return end;
}

} // namespace corvesta::xml_unit_search
