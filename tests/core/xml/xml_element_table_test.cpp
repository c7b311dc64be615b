#include <gtest/gtest.h>

#include "nas/xml/xml_element_table.h"

using namespace corvesta;

namespace {

TEST(XmlElementTable, GrowsByHalfAndKeepsRecords) {
  XmlElementTable table;
  table.Reserve(8);
  EXPECT_EQ(table.Capacity(), 8u);
  for (ElementIndex i = 0; i < 8; ++i) {
    table[i] = ElementRecord{static_cast<std::int32_t>(i), 0, 0, 0, 0, 0, 0, 0};
  }
  table.Grow();
  EXPECT_EQ(table.Capacity(), 12u);
  table.Reserve(5); // never shrinks
  EXPECT_EQ(table.Capacity(), 12u);
  for (ElementIndex i = 0; i < 8; ++i) {
    EXPECT_EQ(table[i].start, static_cast<std::int32_t>(i));
  }
}

TEST(XmlElementTable, RecordsBeyondTheFirstSegmentNeverMove) {
  XmlElementTable table;
  table.Reserve(100);
  table[7].start = 7;
  table.Reserve(XmlElementTable::kSegmentRecords + 1);
  EXPECT_EQ(table.SegmentCount(), 2u);
  EXPECT_EQ(table[7].start, 7);
  ElementRecord *second = &table[XmlElementTable::kSegmentRecords];
  ElementRecord *last = &table[2 * XmlElementTable::kSegmentRecords - 1];
  second->start = 1234;
  table.Reserve(5 * XmlElementTable::kSegmentRecords);
  EXPECT_EQ(table.SegmentCount(), 5u);
  EXPECT_EQ(&table[XmlElementTable::kSegmentRecords], second);
  EXPECT_EQ(&table[2 * XmlElementTable::kSegmentRecords - 1], last);
  EXPECT_EQ(second->start, 1234);
  table.Release();
  EXPECT_EQ(table.Capacity(), 0u);
  EXPECT_EQ(table.SegmentCount(), 0u);
}

TEST(XmlElementTable, PacksTagLengthsWithoutOverrun) {
  const std::uint32_t packed = PackTagLengths(5, 4);
  EXPECT_EQ(StoredStartTagLength(packed), 5u);
  EXPECT_EQ(StoredEndTagLength(packed), 4u);
  const std::uint32_t saturated = PackTagLengths(0x500000, 5000);
  EXPECT_EQ(StoredStartTagLength(saturated), kStartTagLengthLimit);
  EXPECT_EQ(StoredEndTagLength(saturated), kEndTagLengthLimit);
  EXPECT_EQ(DepthBits(100000), kElementDepthMask);
  EXPECT_EQ(DepthBits(100000) & kElementFirstChild, 0u);
}

} // namespace
