#include <gtest/gtest.h>

#include <cstring>

#include "nas/udp/subnet.h"

using namespace corvesta;

TEST(Subnet, DottedQuads) {
  EXPECT_EQ(ParseDottedQuad("192.168.1.10"), 0xC0A8010Au);
  EXPECT_EQ(ParseDottedQuad("0.0.0.0"), 0u);
  EXPECT_EQ(ParseDottedQuad("255.255.255.255"), 0xFFFFFFFFu);
  for (const char *bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.x", " 1.2.3.4", "1..2.3",
                          "1.2.3.4 ", "1234.1.1.1"}) {
    EXPECT_FALSE(ParseDottedQuad(bad)) << '"' << bad << '"';
  }
}

struct SubnetCase {
  const char *adapter;
  const char *adapterMask;
  const char *box;
  const char *boxMask;
  bool same;
};

TEST(Subnet, AddressAndMaskOnBothSides) {
  const SubnetCase cases[] = {
      {"192.168.1.2", "255.255.255.0", "192.168.1.77", "255.255.255.0", true},
      {"192.168.1.2", "255.255.255.0", "192.168.2.77", "255.255.255.0", false},
      {"10.1.2.3", "255.0.0.0", "10.200.0.1", "255.0.0.0", true},
      // Each side masked with its own mask.
      {"10.1.2.3", "255.0.0.0", "10.200.0.1", "255.255.0.0", false},
      {"127.0.0.1", "255.0.0.0", "169.254.7.7", "255.255.0.0", false},
      // A text that is not an address is never in the subnet, even where
      // both sides would read as the same bad value.
      {"", "", "", "", false},
      {"192.168.1.2", "255.255.255.0", "192.168.1.77", "", false},
      {"192.168.1.2", "255.255.255.0", "not an address", "255.255.255.0", false},
  };
  for (const SubnetCase &c : cases) {
    EXPECT_EQ(InSameSubnet(c.adapter, c.adapterMask, c.box, c.boxMask), c.same)
        << c.adapter << "/" << c.adapterMask << " vs " << c.box << "/" << c.boxMask;
  }
}

TEST(Subnet, DeviceAgainstItsAdapter) {
  AdapterTable table = BuildAdapterTable(
      {{"lo", 1, "127.0.0.1", "255.0.0.0"}, {"eth0", 2, "192.168.1.2", "255.255.255.0"}});
  NasDevice device;
  std::strcpy(device.ip, "192.168.1.50");
  std::strcpy(device.netmask, "255.255.255.0");
  device.adapter = 1;
  EXPECT_TRUE(IsInAdapterSubnet(device, table));
  device.adapter = 0;
  EXPECT_FALSE(IsInAdapterSubnet(device, table));
  device.adapter = 2;
  EXPECT_FALSE(IsInAdapterSubnet(device, table)) << "adapter not in the table";
  device.adapter = -1;
  EXPECT_FALSE(IsInAdapterSubnet(device, table));
}
