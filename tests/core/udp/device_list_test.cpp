#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "nas/device_list.h"
#include "nas/udp/discovery.h"
#include "platform/text_codec.h"

using namespace corvesta;

namespace {

NasDevice Reply(const char *mac, const char *ip, const char *mask, const char *name = "box") {
  NasDevice device;
  std::strcpy(device.mac, mac);
  std::strcpy(device.ip, ip);
  std::strcpy(device.netmask, mask);
  std::strcpy(device.name, name);
  return device;
}

AdapterEntry Adapter(const char *address, const char *mask) {
  AdapterEntry entry;
  std::strcpy(entry.address, address);
  std::strcpy(entry.mask, mask);
  return entry;
}

} // namespace

TEST(RecordProbeReply, NewBoxesAreAppendedInOrderOfFirstReply) {
  std::vector<NasDevice> devices;
  AdapterEntry lan = Adapter("192.168.1.2", "255.255.255.0");
  RecordProbeReply(devices, Reply("00:00:00:00:00:02", "192.168.1.20", "255.255.255.0"), 0, lan);
  RecordProbeReply(devices, Reply("00:00:00:00:00:01", "192.168.1.10", "255.255.255.0"), 0, lan);
  RecordProbeReply(devices, Reply("00:00:00:00:00:02", "192.168.1.20", "255.255.255.0"), 0, lan);
  ASSERT_EQ(devices.size(), 2u);
  EXPECT_STREQ(devices[0].mac, "00:00:00:00:00:02");
  EXPECT_STREQ(devices[1].mac, "00:00:00:00:00:01");
}

struct AdapterChoice {
  const char *what;
  const char *boxIp;
  const char *boxMask;
  const char *secondMask;
  int expected;
};

// A box heard first through adapter 0 (10.1.0.1/16) and then through
// adapter 1 (10.2.0.1).
TEST(RecordProbeReply, ABoxHeardOnTwoAdaptersKeepsTheLastOneOfItsSubnet) {
  const AdapterChoice cases[] = {
      {"box in the second adapter's subnet", "10.2.0.50", "255.255.0.0", "255.255.0.0", 1},
      {"box in the first adapter's subnet", "10.1.0.50", "255.255.0.0", "255.255.0.0", 0},
      {"box in neither: keeps its first adapter", "10.3.0.50", "255.255.0.0", "255.255.0.0", 0},
      {"box in both (wide masks): the last one", "10.1.0.50", "255.0.0.0", "255.0.0.0", 1},
  };
  const AdapterEntry first = Adapter("10.1.0.1", "255.255.0.0");
  for (const AdapterChoice &c : cases) {
    const AdapterEntry second = Adapter("10.2.0.1", c.secondMask);
    std::vector<NasDevice> devices;
    RecordProbeReply(devices, Reply("aa:bb:cc:dd:ee:ff", c.boxIp, c.boxMask, "first"), 0, first);
    RecordProbeReply(devices, Reply("aa:bb:cc:dd:ee:ff", c.boxIp, c.boxMask, "second"), 1, second);
    ASSERT_EQ(devices.size(), 1u) << c.what;
    EXPECT_EQ(devices[0].adapter, c.expected) << c.what;
    EXPECT_STREQ(devices[0].name, "first") << c.what << ": nothing else of the record changes";
  }
}

TEST(DeviceList, OnlyTheLatestGenerationChangesTheList) {
  DeviceList &list = DeviceList::Instance();
  std::uint64_t older = list.Clear();
  std::uint64_t newer = list.Clear();
  auto add = [](std::vector<NasDevice> &devices) {
    devices.push_back(Reply("00:00:00:00:00:01", "1.2.3.4", "255.0.0.0"));
  };
  EXPECT_FALSE(list.Update(older, add));
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_TRUE(list.Update(newer, add));
  EXPECT_EQ(list.Count(), 1u);
  ASSERT_TRUE(list.At(0));
  EXPECT_STREQ(list.At(0)->ip, "1.2.3.4");
  EXPECT_FALSE(list.At(1));
  EXPECT_FALSE(list.At(-1));
  EXPECT_EQ(list.Snapshot().size(), 1u);
  list.Clear();
  EXPECT_EQ(list.Count(), 0u);
}
