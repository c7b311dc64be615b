#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "nas/query.h"
#include "nas/udp/discovery.h"
#include "peer_namespace.h"
#include "platform/text_codec.h"
#include "support/clean_records.h"
#include "support/nas_sim_process.h"
#include "udp_sim_helpers.h"
#include "worker/private_messages.h"

using namespace corvesta;
using namespace std::chrono_literals;
using corvesta::test::NasSimProcess;
using nlohmann::json;

namespace {

std::string Text(const char *field, std::size_t size) {
  return std::string(FieldText(field, size));
}

std::string Mac(int n) {
  char text[20];
  std::snprintf(text, sizeof text, "02:00:00:00:%02x:%02x", (n >> 8) & 0xFF, n & 0xFF);
  return text;
}

std::vector<std::string> ListedNames() {
  std::vector<std::string> names;
  for (const NasDevice &device : DeviceList::Instance().Snapshot()) {
    names.push_back(Text(device.name, sizeof device.name));
  }
  return names;
}

class DiscoveryTest : public ::testing::Test {
protected:
  test::CleanRecords records; // first: reset before the others exist, after they are gone
  MessageQueueTarget window;
  NasSimProcess sim;

  void StartSim(const std::vector<json> &boxes) {
    ASSERT_TRUE(sim.Start(NasSimProcess::MakeState(boxes))) << sim.Error();
  }
};

} // namespace

TEST_F(DiscoveryTest, NoBoxGivesAnEmptyListAndStillAResult) {
  auto query = test::Discover(window);
  ASSERT_TRUE(query);
  EXPECT_EQ(query->kind, QueryKind::Discovery);
  EXPECT_EQ(query->transport, Transport::Udp);
  EXPECT_EQ(DeviceList::Instance().Count(), 0u);
}

// Without a multicast-capable adapter nothing is sent and the empty list is
// reported at once, without waiting.
TEST_F(DiscoveryTest, NoAdapterReportsAnEmptyListAtOnce) {
  ASSERT_TRUE(test::Shell("ip link set lo multicast off"));
  struct Restore {
    ~Restore() { test::Shell("ip link set lo multicast on"); }
  } restore;
  EXPECT_EQ(BuildAdapterTable(ListNetworkAdapters()).count, 0u);
  auto query = test::Discover(window, 1s);
  ASSERT_TRUE(query);
  EXPECT_EQ(CurrentAdapterTable().count, 0u);
  EXPECT_EQ(DeviceList::Instance().Count(), 0u);
}

TEST_F(DiscoveryTest, OneBoxWithEveryField) {
  json box = NasSimProcess::MakeBox("office-nas", "127.0.0.7", "00:1a:2b:3c:4d:5e");
  box["netmask"] = "255.255.0.0";
  box["gateway"] = "127.0.0.254";
  box["dhcp"] = true;
  box["extra_text"] = "free text";
  StartSim({box});
  ASSERT_TRUE(test::Discover(window));
  ASSERT_EQ(DeviceList::Instance().Count(), 1u);
  NasDevice device = *DeviceList::Instance().At(0);
  EXPECT_EQ(Text(device.name, 256), "office-nas");
  EXPECT_EQ(Text(device.ip, 16), "127.0.0.7");
  EXPECT_EQ(Text(device.netmask, 16), "255.255.0.0");
  EXPECT_EQ(Text(device.gateway, 16), "127.0.0.254");
  EXPECT_EQ(Text(device.dhcp, 8), "1");
  EXPECT_EQ(Text(device.extra_text, 32), "free text");
  EXPECT_EQ(Text(device.mac, 20), "00:1a:2b:3c:4d:5e");
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(device.wire_id), 10),
            test::WireIdBytes("00:1a:2b:3c:4d:5e", "127.0.0.7"));
  AdapterTable table = CurrentAdapterTable();
  ASSERT_GE(device.adapter, 0);
  ASSERT_LT(static_cast<std::uint32_t>(device.adapter), table.count);
  EXPECT_STREQ(table.adapters[device.adapter].address, "127.0.0.1");
}

TEST_F(DiscoveryTest, TheProbeAsTheBoxReceivedIt) {
  StartSim({NasSimProcess::MakeBox("nas", "127.0.0.7", "00:1a:2b:3c:4d:5e")});
  ASSERT_TRUE(test::Discover(window));
  auto probe = sim.WaitForRequest(
      [](const test::SimRequest &r) { return r.transport == "udp" && !r.bytes.empty(); }, 5s);
  ASSERT_TRUE(probe);
  std::string tag = test::CurrentTagBytes();
  EXPECT_EQ(probe->bytes, std::string("\x01", 1) + tag);
  EXPECT_EQ(tag.substr(6), std::string(4, '\0'));
  EXPECT_EQ(probe->peer.substr(0, probe->peer.find(':')), "127.0.0.1")
      << "sent from the adapter's address";
}

// Replies sent to the group and replies sent by unicast to the prober are
// both heard.
TEST_F(DiscoveryTest, RepliesToTheGroupAndByUnicast) {
  json group = NasSimProcess::MakeBox("by-group", "127.0.0.11", Mac(11));
  json unicast = NasSimProcess::MakeBox("by-unicast", "127.0.0.12", Mac(12));
  unicast["faults"] = {{"udp", {{"*", {{"unicast", true}}}}}};
  StartSim({group, unicast});
  ASSERT_TRUE(test::Discover(window));
  std::vector<std::string> names = ListedNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"by-group", "by-unicast"}));
}

TEST_F(DiscoveryTest, TwoHundredBoxesAreEachListedOnceInOrderOfFirstReply) {
  std::vector<json> boxes;
  std::vector<std::string> expected;
  for (int i = 0; i < 200; ++i) {
    std::string name = "box-" + std::to_string(1000 + i);
    json box = NasSimProcess::MakeBox(name, "127.0.1." + std::to_string(i + 1), Mac(i + 1));
    if (i % 2 == 1) {
      box["faults"] = {{"udp", {{"*", {{"unicast", true}}}}}};
    }
    boxes.push_back(box);
    expected.push_back(name);
  }
  StartSim(boxes);
  ASSERT_TRUE(test::Discover(window));
  std::vector<std::string> names = ListedNames();
  ASSERT_EQ(names.size(), 200u);
  std::vector<std::string> sorted = names;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, expected) << "every box once";
  // Boxes answer one after the other in the order of the state file; a
  // reply by unicast and one to the group reach different sockets, so order
  // is compared within each reply style.
  std::vector<std::string> groupOrder;
  std::vector<std::string> unicastOrder;
  for (const std::string &name : names) {
    int n = std::stoi(name.substr(4)) - 1000;
    (n % 2 == 1 ? unicastOrder : groupOrder).push_back(name);
  }
  EXPECT_TRUE(std::is_sorted(groupOrder.begin(), groupOrder.end()));
  EXPECT_TRUE(std::is_sorted(unicastOrder.begin(), unicastOrder.end()));
}

TEST_F(DiscoveryTest, WrongModelAndStaleTagAreIgnored) {
  json good = NasSimProcess::MakeBox("good", "127.0.0.21", Mac(21));
  json model = NasSimProcess::MakeBox("other-model", "127.0.0.22", Mac(22));
  model["faults"] = {{"udp", {{"probe", {{"wrong_model", true}}}}}};
  json stale = NasSimProcess::MakeBox("stale", "127.0.0.23", Mac(23));
  stale["faults"] = {{"udp", {{"probe", {{"stale_tag", true}}}}}};
  StartSim({model, stale, good});
  ASSERT_TRUE(test::Discover(window));
  EXPECT_EQ(ListedNames(), std::vector<std::string>{"good"});
}

TEST_F(DiscoveryTest, AZeroByteInsideTheNameEndsIt) {
  StartSim({NasSimProcess::MakeBox(std::string("ab\0cd", 5), "127.0.0.31", Mac(31)),
            NasSimProcess::MakeBox("x", "127.0.0.32", Mac(32))});
  ASSERT_TRUE(test::Discover(window));
  std::vector<std::string> names = ListedNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"ab", "x"}));
}

// The adapter's 32 waits of 70 ms make a window that ends after the probe:
// a reply sent two thirds into the window is heard, one sent a third of a
// window after its end is not. The waits are stretched to twice their length
// so that a third of a window is about 1.5 s: the waits of a loaded machine
// or of a sanitizer build overrun their end by far less, so neither reply
// lands on the wrong side of the window's end.
TEST_F(DiscoveryTest, AReplyAfterTheAdaptersWaitsIsNotRead) {
  timing::ScopedTimeScale slower(2.0);
  const auto span = std::chrono::duration_cast<std::chrono::milliseconds>(
      timing::Scaled(timing::kDiscoveryWait) * timing::kDiscoveryWaits);
  json early = NasSimProcess::MakeBox("in-time", "127.0.0.41", Mac(41));
  early["faults"] = {{"udp", {{"probe", {{"delay_ms", span.count() * 2 / 3}}}}}};
  json late = NasSimProcess::MakeBox("too-late", "127.0.0.42", Mac(42));
  late["faults"] = {{"udp", {{"probe", {{"delay_ms", span.count() * 4 / 3}}}}}};
  StartSim({early, late});
  ASSERT_TRUE(test::Discover(window));
  EXPECT_EQ(ListedNames(), std::vector<std::string>{"in-time"});
}

TEST_F(DiscoveryTest, ANewDiscoveryReplacesTheList) {
  StartSim({NasSimProcess::MakeBox("first", "127.0.0.51", Mac(51))});
  ASSERT_TRUE(test::Discover(window));
  std::string firstTag = test::CurrentTagBytes();
  EXPECT_EQ(ListedNames(), std::vector<std::string>{"first"});
  sim.Stop();
  StartSim({NasSimProcess::MakeBox("second", "127.0.0.52", Mac(52))});
  ASSERT_TRUE(test::Discover(window));
  EXPECT_EQ(ListedNames(), std::vector<std::string>{"second"});
  EXPECT_NE(test::CurrentTagBytes(), firstTag);
}

// Two adapters on one LAN: the test's namespace gets two veth adapters whose
// peers sit on one bridge in a second namespace, where the box lives. The
// box hears the probe of each adapter and its replies to the group reach
// both adapters; it is listed once, and its adapter is the last one whose
// subnet is the box's own, or the first one that heard it.
struct TwoAdapterCase {
  const char *what;
  const char *boxIp;
  const char *expectedAdapter;
};

TEST(DiscoveryTwoAdapters, TheBoxIsListedOnceWithTheRightAdapter) {
  const TwoAdapterCase cases[] = {
      {"box in the second adapter's subnet", "10.62.0.50", "10.62.0.1"},
      {"box in the first adapter's subnet", "10.61.0.50", "10.61.0.1"},
      {"box in neither subnet: the first adapter that heard it", "10.63.0.50", "10.61.0.1"},
  };
  timing::ScopedTimeScale faster(0.5);
  test::PeerNamespace lan;
  ASSERT_TRUE(lan.Valid());
  const std::string pid = std::to_string(lan.Pid());
  ASSERT_TRUE(lan.Run("ip link add br0 type bridge && ip link set br0 up"));
  ASSERT_TRUE(test::Shell("ip link add cvda type veth peer name cvdap netns " + pid));
  ASSERT_TRUE(test::Shell("ip link add cvdb type veth peer name cvdbp netns " + pid));
  ASSERT_TRUE(test::Shell("ip addr add 10.61.0.1/24 dev cvda && ip link set cvda up"));
  ASSERT_TRUE(test::Shell("ip addr add 10.62.0.1/24 dev cvdb && ip link set cvdb up"));
  ASSERT_TRUE(lan.Run("ip link set cvdap master br0 && ip link set cvdap up && "
                      "ip link set cvdbp master br0 && ip link set cvdbp up && "
                      "ip route add 224.0.0.0/4 dev br0"));

  for (const TwoAdapterCase &c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(
        lan.Run(std::string("ip addr flush dev br0 && ip addr add ") + c.boxIp + "/24 dev br0"));
    MessageQueueTarget window;
    NasSimProcess sim;
    bool started = false;
    json box = NasSimProcess::MakeBox("lan-box", c.boxIp, Mac(99));
    box["netmask"] = "255.255.255.0";
    box["gateway"] = "";
    ASSERT_TRUE(lan.RunInside([&] { started = sim.Start(NasSimProcess::MakeState({box})); }));
    ASSERT_TRUE(started) << sim.Error();

    ASSERT_TRUE(test::Discover(window));
    std::vector<NasDevice> devices = DeviceList::Instance().Snapshot();
    ASSERT_EQ(devices.size(), 1u);
    AdapterTable table = CurrentAdapterTable();
    ASSERT_LT(static_cast<std::uint32_t>(devices[0].adapter), table.count);
    EXPECT_STREQ(table.adapters[devices[0].adapter].address, c.expectedAdapter);
    // Both adapters' probes reached the box.
    int probes = 0;
    for (const test::SimRequest &request : sim.Requests()) {
      probes += request.transport == "udp" && !request.bytes.empty() && request.bytes[0] == 1;
    }
    EXPECT_EQ(probes, 2);
  }
  test::Shell("ip link del cvda");
  test::Shell("ip link del cvdb");
}
