#include <gtest/gtest.h>

#include <string>

#include "nas/udp/adapter_table.h"

using namespace corvesta;

TEST(AdapterTable, KeepsTheFirstEightInTheSystemsOrder) {
  std::vector<NetworkAdapter> adapters;
  for (unsigned i = 0; i < 11; ++i) {
    adapters.push_back(
        {"eth" + std::to_string(i), i + 1, "10.0." + std::to_string(i) + ".1", "255.255.255.0"});
  }
  AdapterTable table = BuildAdapterTable(adapters);
  ASSERT_EQ(table.count, 8u);
  for (unsigned i = 0; i < 8; ++i) {
    EXPECT_EQ(std::string(table.adapters[i].address), "10.0." + std::to_string(i) + ".1");
    EXPECT_STREQ(table.adapters[i].mask, "255.255.255.0");
    EXPECT_EQ(table.adapters[i].interfaceIndex, i + 1);
  }
}

TEST(AdapterTable, EmptyAndShortLists) {
  EXPECT_EQ(BuildAdapterTable({}).count, 0u);
  AdapterTable one = BuildAdapterTable({{"lo", 1, "127.0.0.1", "255.0.0.0"}});
  EXPECT_EQ(one.count, 1u);
  EXPECT_STREQ(one.adapters[0].address, "127.0.0.1");
  EXPECT_STREQ(one.adapters[1].address, "");
}

TEST(AdapterTable, AnAdapterWhoseTextsDoNotFitIsLeftOut) {
  AdapterTable table = BuildAdapterTable(
      {{"a", 1, "1111.1111.1111.1111", "255.0.0.0"}, {"b", 2, "10.0.0.1", "255.0.0.0"}});
  ASSERT_EQ(table.count, 1u);
  EXPECT_STREQ(table.adapters[0].address, "10.0.0.1");
}
