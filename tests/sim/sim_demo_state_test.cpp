// The demo's three boxes: a new box waiting for its set-up, a configured box,
// and a box on a link-local address that only an address change brings into
// the PC's subnet.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "sim_test_sockets.h"
#include "support/nas_sim_process.h"

namespace corvesta::test {
namespace {

using namespace std::chrono_literals;

constexpr const char *kLinkLocal = "169.254.37.12";

class SimDemoStateTest : public ::testing::Test {
protected:
  void SetUp() override {
    // The link-local box needs its address on an interface of the namespace.
    ASSERT_EQ(std::system("ip addr replace 169.254.37.12/32 dev lo"), 0);
    ASSERT_TRUE(client.Ok());
    ASSERT_TRUE(sim.StartWithStateFile(CORVESTA_DEMO_BOXES)) << sim.Error();
  }
  // nas-sim ends cleanly: no crash, no sanitizer report.
  void TearDown() override {
    sim.Stop();
    EXPECT_EQ(sim.ExitStatus(), 0) << sim.Stderr();
  }

  std::map<std::string, Datagram> Discover(std::uint8_t seed) {
    EXPECT_TRUE(client.Send(Probe(Tag(seed))));
    std::map<std::string, Datagram> byName;
    for (const Datagram &reply : client.Receive(400ms)) {
      byName[reply.bytes.substr(104)] = reply;
    }
    return byName;
  }

  DatagramClient client;
  NasSimProcess sim;
};

TEST_F(SimDemoStateTest, ThreeBoxesAsTheDemoNeedsThem) {
  const auto boxes = Discover(1);
  ASSERT_EQ(boxes.size(), 3u);
  ASSERT_EQ(boxes.count("FARBOX"), 1u);
  EXPECT_EQ(boxes.at("FARBOX").from, std::string(kLinkLocal) + ":13579");

  const auto fresh = sim.Box("KS-NEW");
  ASSERT_TRUE(fresh);
  EXPECT_TRUE((*fresh)["volumes"].empty());
  ASSERT_EQ((*fresh)["disks"].size(), 2u);
  EXPECT_EQ((*fresh)["disks"][0]["size_gib"], (*fresh)["disks"][1]["size_gib"]);

  const auto configured = sim.Box("HOMESTORE");
  ASSERT_TRUE(configured);
  EXPECT_FALSE((*configured)["volumes"].empty());
  EXPECT_FALSE((*configured)["shares"].empty());
  ASSERT_EQ((*configured)["accounts"].size(), 2u);
  const std::string access = (*configured)["accounts"][1]["access"];
  ASSERT_GE(access.size(), 11u);
  // Some of the centers (positions 2, 6, 8, 10) are closed to the second user.
  EXPECT_TRUE(access[2] == '0' || access[6] == '0' || access[8] == '0' || access[10] == '0');
}

TEST_F(SimDemoStateTest, AddressChangeBringsTheLinkLocalBoxIntoTheSubnet) {
  const std::string tag = Tag(5);
  ASSERT_TRUE(client.Send(SetAddress(tag, WireIdOf("02:c0:de:00:00:03", kLinkLocal), "127.0.0.9",
                                     "255.0.0.0", "127.0.0.1", false)));
  const auto acks = client.Receive(400ms);
  ASSERT_EQ(acks.size(), 1u);
  EXPECT_EQ(acks[0].bytes[0], '\x06');

  const auto boxes = Discover(6);
  ASSERT_EQ(boxes.count("FARBOX"), 1u);
  EXPECT_EQ(boxes.at("FARBOX").from, "127.0.0.9:13579");
  const std::string reply =
      HttpReplyText("127.0.0.9", PostRequest("/cgi-bin/wizard_mgr.cgi", "127.0.0.9", "admin",
                                             "admin", "cmd=cgi_get_wizard"));
  EXPECT_EQ(StatusLineOf(reply), "HTTP/1.0 200 OK");
  EXPECT_NE(reply.find("<ip>127.0.0.9</ip><netmask>255.0.0.0</netmask>"), std::string::npos);
}

} // namespace
} // namespace corvesta::test
