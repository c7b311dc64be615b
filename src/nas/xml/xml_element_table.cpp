#include "nas/xml/xml_element_table.h"

#include <algorithm>
#include <cstring>

namespace corvesta {

namespace {

constexpr std::uint64_t kFirstGrowth = 8;
// Index 0xFFFFFFFF would need a 65,536th segment; no document gets near it
// (every element takes at least four characters of a text limited to 2^31).
constexpr std::uint64_t kMaxRecords = std::uint64_t{1} << 32;

} // namespace

void XmlElementTable::Reserve(std::uint64_t records) {
  records = std::min(records, kMaxRecords);
  if (records <= m_capacity) {
    return;
  }
  if (m_capacity < kSegmentRecords) {
    // Only the first segment is ever smaller than a full one; past a
    // sixteenth of a segment it is made whole at once, so that a large
    // document's records are not copied again and again while it grows.
    const std::uint64_t firstSize = records > kSegmentRecords / 16 ? kSegmentRecords : records;
    auto segment = std::make_unique_for_overwrite<ElementRecord[]>(firstSize);
    if (m_capacity > 0) {
      std::memcpy(segment.get(), m_segments[0].get(), m_capacity * sizeof(ElementRecord));
      m_segments[0] = std::move(segment);
    } else {
      m_segments.push_back(std::move(segment));
    }
    m_capacity = firstSize;
  }
  while (m_capacity < records) {
    m_segments.push_back(std::make_unique_for_overwrite<ElementRecord[]>(kSegmentRecords));
    m_capacity += kSegmentRecords;
  }
}

void XmlElementTable::Grow() {
  Reserve(m_capacity == 0 ? kFirstGrowth : m_capacity + m_capacity / 2);
}

void XmlElementTable::Release() {
  m_segments.clear();
  m_segments.shrink_to_fit();
  m_capacity = 0;
}

} // namespace corvesta
