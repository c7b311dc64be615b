// The decisions before an address change, and the change with the search
// for the box afterwards, driven by scripted results.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "nas/device_list.h"
#include "platform/text_codec.h"
#include "scripted_requests.h"
#include "setup/address_change_plan.h"
#include "setup/address_change_sequence.h"
#include "setup/queue_sequence_host.h"
#include "worker/private_messages.h"

namespace corvesta::test {
namespace {

struct PlanCase {
  const char *label;
  std::string boxDhcp; // the box's "dhcp" text
  AddressChoice choice;
  AddressPlanResult result;
  bool asksAboutGateway;
  // Send: the texts and the DHCP byte the block carries.
  std::string ip, mask, gateway;
  char dhcp;
};

void PrintTo(const PlanCase &c, std::ostream *os) {
  *os << c.label;
}

class AddressPlanTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(AddressPlanTest, DecidesAndBuildsTheBlock) {
  const PlanCase &c = GetParam();
  NasDevice box =
      MakeDevice("ALPHA", "192.168.1.20", "255.255.255.0", "02:00:00:00:00:01", c.boxDhcp);
  CopyToField(box.gateway, sizeof box.gateway, "192.168.1.1");
  const AddressPlan plan = PlanAddressChange(box, c.choice);
  ASSERT_EQ(plan.result, c.result);
  EXPECT_EQ(!plan.gatewayQuestion.empty(), c.asksAboutGateway);
  if (c.result == AddressPlanResult::Refused) {
    EXPECT_EQ(plan.message, kAddressInputErrorText);
    EXPECT_EQ(plan.caption, kWarningCaption);
  }
  if (c.result != AddressPlanResult::Send) {
    return;
  }
  const IpSettingBlock &block = plan.block;
  EXPECT_EQ(FieldText(block.interfaceName, sizeof block.interfaceName), "LAN1");
  EXPECT_EQ(FieldText(block.ip, sizeof block.ip), c.ip);
  EXPECT_EQ(FieldText(block.netmask, sizeof block.netmask), c.mask);
  EXPECT_EQ(FieldText(block.gateway, sizeof block.gateway), c.gateway);
  EXPECT_EQ(block.dhcp, c.dhcp);
  const char zeros[sizeof block.gateway] = {};
  if (c.gateway.empty()) {
    EXPECT_EQ(std::memcmp(block.gateway, zeros, sizeof zeros), 0);
  }
  const char reserved[sizeof block.reserved] = {};
  EXPECT_EQ(std::memcmp(block.reserved, reserved, sizeof reserved), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, AddressPlanTest,
    ::testing::Values(PlanCase{"DhcpForABoxOnDhcpSendsNothing",
                               "1",
                               {true, "", "", ""},
                               AddressPlanResult::NothingToSend,
                               false,
                               "",
                               "",
                               "",
                               0},
                      // The box's current values travel with the DHCP flag, unchecked.
                      PlanCase{"DhcpForAStaticBoxCarriesItsAddress",
                               "0",
                               {true, "", "", ""},
                               AddressPlanResult::Send,
                               false,
                               "192.168.1.20",
                               "255.255.255.0",
                               "192.168.1.1",
                               '1'},
                      PlanCase{"DhcpFlagIsReadAsANumber",
                               "1 ",
                               {true, "", "", ""},
                               AddressPlanResult::NothingToSend,
                               false,
                               "",
                               "",
                               "",
                               0},
                      PlanCase{"DhcpFlagOtherThanOne",
                               "10",
                               {true, "", "", ""},
                               AddressPlanResult::Send,
                               false,
                               "192.168.1.20",
                               "255.255.255.0",
                               "192.168.1.1",
                               '1'},
                      PlanCase{"StaticInTheSubnet",
                               "1",
                               {false, "192.168.1.10", "255.255.255.0", "192.168.1.1"},
                               AddressPlanResult::Send,
                               false,
                               "192.168.1.10",
                               "255.255.255.0",
                               "192.168.1.1",
                               '0'},
                      PlanCase{"GatewayOutsideTheSubnetIsAsked",
                               "0",
                               {false, "192.168.1.10", "255.255.255.0", "192.168.2.1"},
                               AddressPlanResult::Send,
                               true,
                               "192.168.1.10",
                               "255.255.255.0",
                               "192.168.2.1",
                               '0'},
                      PlanCase{"NoGatewayIsNeverAsked",
                               "0",
                               {false, "10.0.0.5", "255.0.0.0", ""},
                               AddressPlanResult::Send,
                               false,
                               "10.0.0.5",
                               "255.0.0.0",
                               "",
                               '0'},
                      PlanCase{"LoopbackAddressIsRefused",
                               "0",
                               {false, "127.0.0.5", "255.0.0.0", "127.0.0.1"},
                               AddressPlanResult::Refused,
                               false,
                               "",
                               "",
                               "",
                               0},
                      PlanCase{"AddressThatOnlyStartsLikeLoopbackIsTaken",
                               "0",
                               {false, "12.7.0.5", "255.0.0.0", ""},
                               AddressPlanResult::Send,
                               false,
                               "12.7.0.5",
                               "255.0.0.0",
                               "",
                               '0'}),
    [](const auto &testCase) { return std::string(testCase.param.label); });

TEST(AddressPlanTest, DhcpForABoxAtALoopbackAddressIsRefused) {
  const NasDevice box = MakeDevice("ALPHA", "127.0.0.2", "255.0.0.0", "02:00:00:00:00:01", "0");
  const AddressPlan plan = PlanAddressChange(box, AddressChoice{true, "", "", ""});
  EXPECT_EQ(plan.result, AddressPlanResult::Refused);
  EXPECT_EQ(plan.message, kAddressInputErrorText);
}

class RecordingChange : public AddressChangeObserver {
public:
  void OnAcknowledged() override { events.emplace_back("acknowledged"); }
  void OnAddressChangeFinished(const AddressChangeOutcome &outcome) override {
    events.emplace_back("finished");
    finished = outcome;
  }
  std::vector<std::string> events;
  AddressChangeOutcome finished;
};

enum class Step {
  Acknowledge,    // WM_SETIP_RESULT 0
  NoAck,          // WM_SETIP_RESULT 1
  Unanswered,     // WM_REQUEST_UNANSWERED for the request in flight
  FoundElsewhere, // the search finds the box at index 1 with its new address
  Missing,        // the search ends without the box
};

struct ChangeCase {
  const char *label;
  std::set<std::string> refused;
  std::vector<Step> steps;
  std::vector<std::string> calls;
  AddressChangeResult result;
  std::u16string_view message;
  bool acknowledged;
};

void PrintTo(const ChangeCase &c, std::ostream *os) {
  *os << c.label;
}

class AddressChangeSequenceTest : public ::testing::TestWithParam<ChangeCase> {
protected:
  void SetUp() override {
    PlaceDevices({MakeDevice("FAR", "169.254.3.4", "255.255.0.0", "02:00:00:00:00:07")},
                 "192.168.1.5", "255.255.255.0");
  }

  void Play(AddressChangeSequence &sequence, Step step) {
    const WindowHandle window = m_window.Handle();
    switch (step) {
    case Step::Acknowledge:
    case Step::NoAck:
      PostMessage(window, WM_SETIP_RESULT, step == Step::Acknowledge ? 0 : 1, 4);
      break;
    case Step::Unanswered:
      PostUnanswered(window, m_requests.last);
      break;
    case Step::FoundElsewhere:
    case Step::Missing: {
      // As the discovery's worker rebuilds the list before it posts.
      std::vector<NasDevice> found{
          MakeDevice("OTHER", "192.168.1.30", "255.255.255.0", "02:00:00:00:00:30")};
      if (step == Step::FoundElsewhere) {
        found.push_back(MakeDevice("FAR", "192.168.1.40", "255.255.255.0", "02:00:00:00:00:07"));
      }
      PlaceDevices(found, "192.168.1.5", "255.255.255.0");
      PostQueryResult(window, m_requests.last, kResultSuccess);
      break;
    }
    }
    EXPECT_TRUE(Deliver(m_window, sequence).empty());
  }

  MessageQueueTarget m_window;
  QueueSequenceHost m_host{m_window};
  ScriptedRequests m_requests;
  RecordingChange m_observer;
};

TEST_P(AddressChangeSequenceTest, EndsAsExpected) {
  const ChangeCase &c = GetParam();
  m_requests.refused = c.refused;
  AddressChangeSequence sequence(m_host, m_observer, m_requests);
  const IpSettingBlock block =
      MakeIpSettingBlock("192.168.1.40", "255.255.255.0", "192.168.1.1", false);
  const bool started = sequence.Start(0, block);
  EXPECT_EQ(started, c.result != AddressChangeResult::NotStarted);
  if (started) {
    EXPECT_EQ(std::memcmp(&m_requests.lastBlock, &block, sizeof block), 0);
    EXPECT_EQ(m_requests.lastIndex, 0);
  }
  for (std::size_t i = 0; i < c.steps.size() && sequence.Running(); ++i) {
    Play(sequence, c.steps[i]);
  }
  EXPECT_FALSE(sequence.Running());
  EXPECT_EQ(m_requests.calls, c.calls);
  EXPECT_EQ(m_observer.finished.result, c.result);
  EXPECT_EQ(m_observer.finished.message, c.message);
  const bool acknowledged = !m_observer.events.empty() && m_observer.events[0] == "acknowledged";
  EXPECT_EQ(acknowledged, c.acknowledged);
  EXPECT_FALSE(m_host.TimerPending(kAddressChangeTimerId));
  if (c.result == AddressChangeResult::Found) {
    EXPECT_EQ(m_observer.finished.deviceIndex, 1);
    EXPECT_EQ(FieldText(m_observer.finished.device.ip, sizeof m_observer.finished.device.ip),
              "192.168.1.40");
    EXPECT_EQ(m_observer.finished.adapters.count, 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, AddressChangeSequenceTest,
                         ::testing::Values(ChangeCase{"TakenAndFoundAgainByHardwareAddress",
                                                      {},
                                                      {Step::Acknowledge, Step::FoundElsewhere},
                                                      {"address", "discovery"},
                                                      AddressChangeResult::Found,
                                                      {},
                                                      true},
                                           ChangeCase{"TakenButNotHeardYet",
                                                      {},
                                                      {Step::Acknowledge, Step::Missing},
                                                      {"address", "discovery"},
                                                      AddressChangeResult::NotFoundYet,
                                                      {},
                                                      true},
                                           ChangeCase{"NotAcknowledged",
                                                      {},
                                                      {Step::NoAck},
                                                      {"address"},
                                                      AddressChangeResult::NotAcknowledged,
                                                      kSetAddressFailedText,
                                                      false},
                                           ChangeCase{"ChangeUnanswered",
                                                      {},
                                                      {Step::Unanswered},
                                                      {"address"},
                                                      AddressChangeResult::NotAcknowledged,
                                                      kSetAddressFailedText,
                                                      false},
                                           ChangeCase{"ChangeCannotStart",
                                                      {"address"},
                                                      {},
                                                      {"address"},
                                                      AddressChangeResult::NotStarted,
                                                      kRefreshFailedText,
                                                      false},
                                           ChangeCase{"SearchCannotStart",
                                                      {"discovery"},
                                                      {Step::Acknowledge},
                                                      {"address", "discovery"},
                                                      AddressChangeResult::SearchFailed,
                                                      kRefreshFailedText,
                                                      true},
                                           ChangeCase{"SearchUnanswered",
                                                      {},
                                                      {Step::Acknowledge, Step::Unanswered},
                                                      {"address", "discovery"},
                                                      AddressChangeResult::SearchFailed,
                                                      kRefreshFailedText,
                                                      true}),
                         [](const auto &testCase) { return std::string(testCase.param.label); });

// An owner that searches for the boxes itself (the main window after the
// set-IP dialog) gets the acknowledgement as the end: no search of its own.
class AddressChangeEndTest : public AddressChangeSequenceTest {};

TEST_F(AddressChangeEndTest, AcknowledgedEndsWithoutASearchWhenTheOwnerSearches) {
  AddressChangeSequence sequence(m_host, m_observer, m_requests);
  const IpSettingBlock block =
      MakeIpSettingBlock("192.168.1.40", "255.255.255.0", "192.168.1.1", false);
  ASSERT_TRUE(sequence.Start(0, block, AfterAcknowledgement::End));
  Play(sequence, Step::Acknowledge);
  EXPECT_FALSE(sequence.Running());
  EXPECT_EQ(m_requests.calls, std::vector<std::string>{"address"});
  EXPECT_EQ(m_observer.events, (std::vector<std::string>{"acknowledged", "finished"}));
  EXPECT_EQ(m_observer.finished.result, AddressChangeResult::Acknowledged);
  EXPECT_TRUE(m_observer.finished.message.empty());
  EXPECT_FALSE(m_host.TimerPending(kAddressChangeTimerId));
}

TEST(AddressChangeSequenceStartTest, ABoxNoLongerListedIsSentNothing) {
  PlaceDevices({}, "192.168.1.5", "255.255.255.0");
  MessageQueueTarget window;
  QueueSequenceHost host(window);
  ScriptedRequests requests;
  RecordingChange observer;
  AddressChangeSequence sequence(host, observer, requests);
  EXPECT_FALSE(sequence.Start(0, MakeIpSettingBlock("10.0.0.5", "255.0.0.0", "", false)));
  EXPECT_TRUE(requests.calls.empty());
  EXPECT_EQ(observer.finished.result, AddressChangeResult::NotStarted);
}

// The acknowledgement carries no ticket: one of another kind is not taken.
TEST(AddressChangeSequenceStartTest, AResultOfAnotherKindIsNotTheAcknowledgement) {
  PlaceDevices({MakeDevice("FAR", "169.254.3.4", "255.255.0.0", "02:00:00:00:00:07")},
               "192.168.1.5", "255.255.255.0");
  MessageQueueTarget window;
  QueueSequenceHost host(window);
  ScriptedRequests requests;
  RecordingChange observer;
  AddressChangeSequence sequence(host, observer, requests);
  ASSERT_TRUE(sequence.Start(0, MakeIpSettingBlock("10.0.0.5", "255.0.0.0", "", false)));
  PostMessage(window.Handle(), WM_SETIP_RESULT, 0, 3);
  EXPECT_EQ(Deliver(window, sequence).size(), 1u);
  EXPECT_TRUE(sequence.Running());
  EXPECT_TRUE(observer.events.empty());
}

} // namespace
} // namespace corvesta::test
