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

// A second device answering with a listed box's hardware address from
// another address (an impostor, or a box and its double): the box is listed
// once, marked ambiguous, and the other reply steers nothing of its record,
// not even its adapter.
TEST(RecordProbeReply, AHardwareAddressFromTwoAddressesMakesTheBoxAmbiguous) {
  std::vector<NasDevice> devices;
  std::vector<NasDevice> claimants;
  const AdapterEntry first = Adapter("10.1.0.1", "255.255.0.0");
  const AdapterEntry second = Adapter("10.2.0.1", "255.255.0.0");
  RecordProbeReply(devices, Reply("aa:bb:cc:dd:ee:ff", "10.1.0.50", "255.255.0.0", "real"), 0,
                   first, &claimants);
  // The other address, heard through the adapter whose subnet it lies in,
  // twice.
  for (int i = 0; i < 2; ++i) {
    RecordProbeReply(devices, Reply("aa:bb:cc:dd:ee:ff", "10.2.0.66", "255.255.0.0", "fake"), 1,
                     second, &claimants);
  }
  ASSERT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0].ambiguous, 1);
  EXPECT_STREQ(devices[0].ip, "10.1.0.50");
  EXPECT_STREQ(devices[0].name, "real");
  EXPECT_EQ(devices[0].adapter, 0);
  EXPECT_STREQ(devices[0].other_ip, "10.2.0.66");
  ASSERT_EQ(claimants.size(), 1u) << "one claimant per address";
  EXPECT_STREQ(claimants[0].ip, "10.2.0.66");
  EXPECT_EQ(claimants[0].adapter, 1);

  // Without a list of claimants the mark is made all the same.
  std::vector<NasDevice> alone;
  RecordProbeReply(alone, Reply("aa:bb:cc:dd:ee:ff", "10.1.0.50", "255.255.0.0"), 0, first);
  RecordProbeReply(alone, Reply("aa:bb:cc:dd:ee:ff", "10.1.0.51", "255.255.0.0"), 0, first);
  ASSERT_EQ(alone.size(), 1u);
  EXPECT_EQ(alone[0].ambiguous, 1);
}

// Named by a claimant's address, the claimant takes the listed place (so
// the credentials go to the address the person named); the list still
// marks the box ambiguous.
TEST(DeviceList, AClaimantNamedByItsAddressTakesTheListedPlace) {
  DeviceList &list = DeviceList::Instance();
  const std::uint64_t generation = list.Clear();
  const AdapterEntry lan = Adapter("10.1.0.1", "255.255.0.0");
  ASSERT_TRUE(list.Update(
      generation, [&](std::vector<NasDevice> &devices, std::vector<NasDevice> &claimants) {
        RecordProbeReply(devices, Reply("00:00:00:00:00:01", "10.1.0.9", "255.255.0.0", "other"), 0,
                         lan, &claimants);
        RecordProbeReply(devices, Reply("aa:bb:cc:dd:ee:ff", "10.1.0.50", "255.255.0.0", "first"),
                         0, lan, &claimants);
        RecordProbeReply(devices, Reply("aa:bb:cc:dd:ee:ff", "10.1.0.66", "255.255.0.0", "second"),
                         0, lan, &claimants);
      }));
  EXPECT_FALSE(list.PreferClaimant("10.1.0.50")) << "already the listed one";
  EXPECT_FALSE(list.PreferClaimant("10.1.0.77")) << "nobody answered from there";
  ASSERT_TRUE(list.PreferClaimant("10.1.0.66"));
  ASSERT_EQ(list.Count(), 2u);
  const NasDevice chosen = *list.At(1);
  EXPECT_STREQ(chosen.name, "second");
  EXPECT_STREQ(chosen.ip, "10.1.0.66");
  EXPECT_STREQ(chosen.other_ip, "10.1.0.50");
  EXPECT_EQ(chosen.ambiguous, 1);
  EXPECT_EQ(list.At(0)->ambiguous, 0);
  // And back again.
  ASSERT_TRUE(list.PreferClaimant("10.1.0.50"));
  EXPECT_STREQ(list.At(1)->name, "first");
  list.Clear();
}
