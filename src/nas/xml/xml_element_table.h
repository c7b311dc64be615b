#pragma once
// The element table of an XML document: one record per element, addressed by
// a 32-bit index whose high 16 bits select a segment of 65,536 records and
// whose low 16 bits the record within it. Index 0 stands for the document
// itself; 0 in any link means "none".
//
// The first segment starts small and is reallocated while it grows towards a
// full segment (indices stay valid, nothing holds a record's address across
// a growth step); once it is past 4,096 records it is allocated whole, and
// every further segment is allocated full, so those records never move.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace corvesta {

using ElementIndex = std::uint32_t;

struct ElementRecord {
  std::int32_t start;           // offset of the "<" of the start tag
  std::int32_t length;          // up to the end of the end tag, or the start tag alone
  std::uint32_t tagLengths;     // low 22 bits start tag, high 10 bits end tag
  std::uint32_t flags;          // depth and the bits below
  ElementIndex parent;          // 0 for a top-level element
  ElementIndex firstChild;      // 0 when there are no child elements
  ElementIndex nextSibling;     // 0 for the last child
  ElementIndex previousSibling; // the first child's points at the last child
};

inline constexpr std::uint32_t kElementDepthMask = 0xFFFF;
inline constexpr std::uint32_t kElementFirstChild = 0x80000;
inline constexpr std::uint32_t kElementUnended = 0x100000;
inline constexpr std::uint32_t kElementFault = 0x200000;
inline constexpr std::uint32_t kDocumentNotWellFormed = 0x800000;

// The two tag lengths share one 32-bit field. A length that does not fit is
// stored as the field's largest value, which tells the reader to measure the
// tag again from the text.
inline constexpr std::uint32_t kStartTagLengthLimit = 0x3FFFFF;
inline constexpr std::uint32_t kEndTagLengthLimit = 0x3FF;

inline std::uint32_t PackTagLengths(std::size_t startTag, std::size_t endTag) {
  const auto startPart =
      static_cast<std::uint32_t>(startTag < kStartTagLengthLimit ? startTag : kStartTagLengthLimit);
  const auto endPart =
      static_cast<std::uint32_t>(endTag < kEndTagLengthLimit ? endTag : kEndTagLengthLimit);
  return startPart | (endPart << 22);
}
inline std::uint32_t StoredStartTagLength(std::uint32_t tagLengths) {
  return tagLengths & kStartTagLengthLimit;
}
inline std::uint32_t StoredEndTagLength(std::uint32_t tagLengths) {
  return tagLengths >> 22;
}

// A depth beyond the 16 bits of the flags is kept at the largest value so
// that it never spills into the flag bits.
inline std::uint32_t DepthBits(std::size_t depth) {
  return static_cast<std::uint32_t>(depth < kElementDepthMask ? depth : kElementDepthMask);
}

class XmlElementTable {
public:
  static constexpr std::uint32_t kSegmentRecords = 65536;

  XmlElementTable() = default;
  XmlElementTable(const XmlElementTable &) = delete;
  XmlElementTable &operator=(const XmlElementTable &) = delete;
  // A table moved from is empty.
  XmlElementTable(XmlElementTable &&other) noexcept
      : m_segments(std::move(other.m_segments)), m_capacity(std::exchange(other.m_capacity, 0)) {
    other.m_segments.clear();
  }
  XmlElementTable &operator=(XmlElementTable &&other) noexcept {
    m_segments = std::move(other.m_segments);
    m_capacity = std::exchange(other.m_capacity, 0);
    other.m_segments.clear();
    return *this;
  }

  // Records the table has room for.
  std::uint64_t Capacity() const { return m_capacity; }

  // Makes room for at least `records` records; never shrinks.
  void Reserve(std::uint64_t records);
  // Grows by half the present size (to 8 records when empty).
  void Grow();
  // Frees every segment.
  void Release();

  ElementRecord &operator[](ElementIndex index) {
    return m_segments[index >> 16][index & (kSegmentRecords - 1)];
  }
  const ElementRecord &operator[](ElementIndex index) const {
    return m_segments[index >> 16][index & (kSegmentRecords - 1)];
  }

  std::size_t SegmentCount() const { return m_segments.size(); }

private:
  std::vector<std::unique_ptr<ElementRecord[]>> m_segments;
  std::uint64_t m_capacity = 0;
};

} // namespace corvesta
