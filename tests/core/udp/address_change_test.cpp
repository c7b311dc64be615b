#include <gtest/gtest.h>

#include <cstring>

#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "nas/query.h"
#include "nas/udp/address_change.h"
#include "platform/text_codec.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"
#include "udp_sim_helpers.h"
#include "worker/private_messages.h"

using namespace corvesta;
using namespace std::chrono_literals;
using corvesta::test::NasSimProcess;
using nlohmann::json;

namespace {

constexpr char kMac[] = "00:11:22:33:44:0c";

class AddressChangeTest : public ::testing::Test {
protected:
  MessageQueueTarget window;
  NasSimProcess sim;
  std::int64_t liveBefore = CQuery::LiveCount();
  int box = -1;

  void StartBox(json faults = json::object()) {
    json state = NasSimProcess::MakeBox("box-c", "127.0.0.4", kMac);
    state["faults"] = faults;
    ASSERT_TRUE(sim.Start(NasSimProcess::MakeState({state}))) << sim.Error();
    timing::ScopedTimeScale faster(0.25);
    ASSERT_TRUE(test::Discover(window));
    box = test::DeviceIndexByName("box-c");
    ASSERT_GE(box, 0);
  }

  std::optional<test::SimRequest> LoggedChange() {
    return sim.WaitForRequest(
        [](const test::SimRequest &r) {
          return r.transport == "udp" && !r.bytes.empty() && r.bytes[0] == 0x05;
        },
        5s);
  }
};

} // namespace

TEST_F(AddressChangeTest, AcknowledgedAndTheBoxAnswersOnItsNewAddress) {
  StartBox();
  IpSettingBlock block = MakeIpSettingBlock("127.0.0.60", "255.0.0.0", "127.0.0.1", false);
  Ticket ticket = StartAddressChange(window.Handle(), box, block);
  ASSERT_NE(ticket, 0u);
  auto result = window.WaitForMessage(WM_SETIP_RESULT, 10s);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->wParam, kResultSuccess);
  EXPECT_EQ(result->lParam, 4);
  EXPECT_TRUE(test::WaitUntil([&] { return CQuery::LiveCount() == liveBefore; }, 5s))
      << "the worker deletes the query after posting";

  {
    timing::ScopedTimeScale faster(0.25);
    ASSERT_TRUE(test::Discover(window));
  }
  int moved = test::DeviceIndexByName("box-c");
  ASSERT_GE(moved, 0);
  EXPECT_STREQ(DeviceList::Instance().At(moved)->ip, "127.0.0.60");
}

struct BlockCase {
  const char *what;
  const char *ip;
  const char *mask;
  const char *gateway;
  bool dhcp;
};

TEST_F(AddressChangeTest, TheDatagramAsTheBoxReceivedIt) {
  const BlockCase cases[] = {
      {"static", "127.0.0.61", "255.255.0.0", "127.0.0.1", false},
      {"DHCP still carries the texts", "127.0.0.62", "255.0.0.0", "", true},
  };
  StartBox({{"no_address_ack", true}});
  timing::ScopedTimeScale faster(0.02);
  for (const BlockCase &c : cases) {
    SCOPED_TRACE(c.what);
    IpSettingBlock block = MakeIpSettingBlock(c.ip, c.mask, c.gateway, c.dhcp);
    std::size_t before = sim.Requests().size();
    ASSERT_NE(StartAddressChange(window.Handle(), box, block), 0u);
    std::optional<test::SimRequest> logged;
    ASSERT_TRUE(test::WaitUntil(
        [&] {
          std::vector<test::SimRequest> all = sim.Requests();
          for (std::size_t i = before; i < all.size(); ++i) {
            if (all[i].transport == "udp" && !all[i].bytes.empty() && all[i].bytes[0] == 0x05) {
              logged = all[i];
              return true;
            }
          }
          return false;
        },
        5s));
    auto field = [](const char *text, std::size_t size) {
      std::string bytes(text);
      bytes.resize(size, '\0');
      return bytes;
    };
    std::string settings = field("LAN1", 10) + field(c.ip, 16) + field(c.mask, 16) +
                           field(c.gateway, 16) + (c.dhcp ? "1" : "0") + std::string(61, '\0');
    std::string expected = std::string("\x05", 1) + test::CurrentTagBytes() +
                           test::WireIdBytes(kMac, "127.0.0.4") + std::string("\x15\0\0", 3) +
                           field(c.mask, 16) + field(c.gateway, 16) + test::LittleEndian32(120) +
                           settings;
    ASSERT_EQ(expected.size(), 180u);
    EXPECT_EQ(logged->bytes, expected);
    EXPECT_EQ(logged->bytes[60 + 58], c.dhcp ? '1' : '0');
    ASSERT_TRUE(window.WaitForMessage(WM_SETIP_RESULT, 10s));
  }
}

// No acknowledgement: 301 waits of 10 ms with 100 ms pauses (about 33 s as
// shipped; a twentieth here). An acknowledgement with another tag counts as
// a wait without answer.
TEST_F(AddressChangeTest, NoAcknowledgementAfterTheFullWait) {
  struct Case {
    const char *what;
    json faults;
  };
  const Case cases[] = {
      {"never acknowledged", {{"no_address_ack", true}}},
      {"acknowledged with a stale tag", {{"udp", {{"set_address", {{"stale_tag", true}}}}}}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    if (sim.Running()) {
      sim.Stop();
    }
    StartBox(c.faults);
    timing::ScopedTimeScale faster(0.05); // 301 x 0.5 ms + 300 x 5 ms: over 1.6 s
    IpSettingBlock block = MakeIpSettingBlock("127.0.0.70", "255.0.0.0", "", false);
    ASSERT_NE(StartAddressChange(window.Handle(), box, block), 0u);
    EXPECT_TRUE(LoggedChange());
    EXPECT_FALSE(window.WaitForMessage(WM_SETIP_RESULT, 1200ms)) << "answered before the waits";
    auto result = window.WaitForMessage(WM_SETIP_RESULT, 20s);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->wParam, kResultFailure);
    EXPECT_EQ(result->lParam, 4);
    EXPECT_TRUE(test::WaitUntil([&] { return CQuery::LiveCount() == liveBefore; }, 5s));
  }
}

TEST_F(AddressChangeTest, ADeviceIndexOutsideTheListStartsNothing) {
  StartBox();
  IpSettingBlock block = MakeIpSettingBlock("127.0.0.70", "255.0.0.0", "", false);
  EXPECT_EQ(StartAddressChange(window.Handle(), 1, block), 0u);
  EXPECT_EQ(StartAddressChange(window.Handle(), -1, block), 0u);
  EXPECT_EQ(CQuery::LiveCount(), liveBefore);
}
