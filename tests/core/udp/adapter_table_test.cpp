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

namespace {

NetworkAdapter Adapter(const std::string &name, unsigned index, AdapterKind kind) {
  return {name, index, "10.0." + std::to_string(index) + ".1", "255.255.255.0", kind};
}

std::vector<std::string> Names(const std::vector<NetworkAdapter> &adapters) {
  std::vector<std::string> names;
  for (const NetworkAdapter &adapter : adapters) {
    names.push_back(adapter.name);
  }
  return names;
}

std::vector<std::string> TableNames(const AdapterSelection &choice) {
  // The table's entries must be the probed adapters, place by place.
  std::vector<std::string> names;
  EXPECT_EQ(choice.table.count, choice.probed.size());
  for (std::size_t i = 0; i < choice.probed.size() && i < kMaxAdapters; ++i) {
    EXPECT_EQ(std::string(choice.table.adapters[i].address), choice.probed[i].address);
    EXPECT_EQ(choice.table.adapters[i].interfaceIndex, choice.probed[i].interfaceIndex);
    names.push_back(choice.probed[i].name);
  }
  return names;
}

} // namespace

// A developer's PC lists its container and virtual-machine links before the
// LAN card: with more adapters than places, the card still gets one.
TEST(AdapterTable, WithMoreAdaptersThanPlacesTheLanComesFirst) {
  using K = AdapterKind;
  struct Case {
    const char *what;
    std::vector<NetworkAdapter> adapters;
    std::vector<std::string> probed;
    std::vector<std::string> leftOut;
  };
  const std::vector<NetworkAdapter> nineVirtualFirst = {
      Adapter("docker0", 1, K::Virtual), Adapter("br-1a2b", 2, K::Virtual),
      Adapter("virbr0", 3, K::Virtual),  Adapter("veth01", 4, K::Virtual),
      Adapter("wg0", 5, K::Tunnel),      Adapter("tun0", 6, K::Tunnel),
      Adapter("br-3c4d", 7, K::Virtual), Adapter("vnet0", 8, K::Virtual),
      Adapter("enp3s0", 9, K::Physical)};
  const Case cases[] = {
      {"eight or fewer keep the system's order, whatever their kinds",
       {Adapter("docker0", 1, K::Virtual), Adapter("eth0", 2, K::Physical),
        Adapter("wlan0", 3, K::Wireless)},
       {"docker0", "eth0", "wlan0"},
       {}},
      {"the card on the ninth place is probed, the last virtual link left out",
       nineVirtualFirst,
       {"enp3s0", "docker0", "br-1a2b", "virbr0", "veth01", "wg0", "tun0", "br-3c4d"},
       {"vnet0"}},
      {"cards and wireless first, then a bridge that may carry the LAN, then the rest; "
       "each group in the system's order",
       {Adapter("docker0", 1, K::Virtual), Adapter("br0", 2, K::Bridge),
        Adapter("wlan0", 3, K::Wireless), Adapter("tun0", 4, K::Tunnel),
        Adapter("virbr0", 5, K::Virtual), Adapter("eth1", 6, K::Physical),
        Adapter("veth1", 7, K::Virtual), Adapter("veth2", 8, K::Virtual),
        Adapter("veth3", 9, K::Virtual), Adapter("eth0", 10, K::Physical)},
       {"wlan0", "eth1", "eth0", "br0", "docker0", "tun0", "virbr0", "veth1"},
       {"veth2", "veth3"}},
      {"more than eight cards: the first eight in the system's order",
       {Adapter("eth0", 1, K::Physical), Adapter("eth1", 2, K::Physical),
        Adapter("docker0", 3, K::Virtual), Adapter("eth2", 4, K::Physical),
        Adapter("eth3", 5, K::Physical), Adapter("eth4", 6, K::Physical),
        Adapter("eth5", 7, K::Physical), Adapter("eth6", 8, K::Physical),
        Adapter("eth7", 9, K::Physical), Adapter("eth8", 10, K::Physical)},
       {"eth0", "eth1", "eth2", "eth3", "eth4", "eth5", "eth6", "eth7"},
       {"docker0", "eth8"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    const AdapterSelection choice = SelectAdapters(c.adapters);
    EXPECT_EQ(TableNames(choice), c.probed);
    EXPECT_EQ(Names(choice.leftOut), c.leftOut);
  }
}

TEST(AdapterTable, AnAdapterWhoseTextsDoNotFitIsNeitherProbedNorLeftOut) {
  std::vector<NetworkAdapter> adapters;
  for (unsigned i = 1; i <= 9; ++i) {
    adapters.push_back(Adapter("veth" + std::to_string(i), i, AdapterKind::Virtual));
  }
  adapters[0].address = "1111.1111.1111.1111";
  const AdapterSelection choice = SelectAdapters(adapters);
  EXPECT_EQ(choice.table.count, 8u);
  EXPECT_TRUE(choice.leftOut.empty());
  EXPECT_EQ(choice.probed.front().name, "veth2");
}
