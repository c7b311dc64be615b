// The network change driven by scripted answers: which requests it starts,
// in which order, and how each answer, missing answer and timer ends it.

#include "setup/network_change.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "i18n/own_texts.h"
#include "manual_host.h"
#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "nas/replies/wizard_info.h"
#include "nas/udp/adapter_table.h"
#include "platform/text_codec.h"
#include "support/clean_records.h"
#include "worker/private_messages.h"
#include "worker/ticket.h"

namespace corvesta::test {
namespace {

using std::chrono::milliseconds;
using Strings = std::vector<std::string>;

// Starts nothing: records each start and hands out tickets, or 0 for the
// requests told to fail.
struct Script {
  Strings calls;
  std::map<std::string, bool> notStarted;
  std::map<std::string, Ticket> latest;
  NetSettings sent;
  std::uint32_t loginFlag = 99;

  Ticket Start(const std::string &name) {
    calls.push_back(name);
    if (notStarted[name]) {
      return 0;
    }
    latest[name] = NextTicket();
    return latest[name];
  }

  NetworkChangeRequests Requests() {
    NetworkChangeRequests requests;
    requests.lockAddress = [this](WindowHandle, std::int32_t) { return Start("lock"); };
    requests.setNetwork = [this](WindowHandle, std::int32_t, const NetSettings &settings) {
      sent = settings;
      return Start("settings");
    };
    requests.readLanAddress = [this](WindowHandle, std::int32_t) { return Start("poll"); };
    requests.logIn = [this](WindowHandle, std::int32_t, std::uint32_t wizardLogin) {
      loginFlag = wizardLogin;
      return Start("login");
    };
    return requests;
  }
};

struct Report : NetworkChangeObserver {
  Strings events;
  std::optional<NetworkChangeOutcome> outcome;
  int ends = 0;

  void OnStage(NetworkChangeStage stage) override {
    const char *names[] = {"sending", "polling", "logging in"};
    events.push_back(std::string("stage ") + names[static_cast<int>(stage)]);
  }
  void OnNotice(std::u16string_view text) override {
    events.push_back("notice " + Utf16ToUtf8(text));
  }
  void OnEnd(const NetworkChangeOutcome &ended) override {
    outcome = ended;
    ++ends;
  }
};

NetSettings StaticSettings() {
  NetSettings settings;
  CopyToField(settings.ip, sizeof settings.ip, "10.1.2.30");
  CopyToField(settings.netmask, sizeof settings.netmask, "255.255.255.0");
  CopyToField(settings.gateway, sizeof settings.gateway, "10.1.2.1");
  CopyToField(settings.dns1, sizeof settings.dns1, "10.1.2.2");
  return settings;
}

// The box tells this address in its LAN answer (as the reply parser leaves
// it in the wizard record).
void BoxTells(const char *ip, const char *mask) {
  WizardInfo info;
  CopyToField(info.ip, sizeof info.ip, ip);
  CopyToField(info.netmask, sizeof info.netmask, mask);
  SetCurrentWizardInfo(info);
}

class NetworkChangeTest : public ::testing::Test {
protected:
  void SetUp() override {
    DeviceList::Instance().Clear(); // adapter 0 is then the one tested
    AdapterTable table;
    CopyToField(table.adapters[0].address, sizeof table.adapters[0].address, "10.1.2.5");
    CopyToField(table.adapters[0].mask, sizeof table.adapters[0].mask, "255.255.255.0");
    table.count = 1;
    SetCurrentAdapterTable(table);
    SetCurrentWizardInfo(WizardInfo{});
  }
  void TearDown() override {
    SetCurrentAdapterTable(AdapterTable{});
    SetCurrentWizardInfo(WizardInfo{});
  }

  NetworkChange &Change() {
    if (!m_change) {
      m_change.emplace(m_host, m_report, 0, StaticSettings(), m_script.Requests());
    }
    return *m_change;
  }

  bool Post(UINT message, WPARAM wParam, LPARAM lParam) {
    return Change().OnMessage(Message{m_host.Window(), message, wParam, lParam});
  }
  bool Command(CommandIndex index, WPARAM result) {
    return Post(WM_COMMAND_RESULT, result, static_cast<LPARAM>(index));
  }
  bool Unanswered(const std::string &request) {
    return Post(WM_REQUEST_UNANSWERED, static_cast<WPARAM>(m_script.latest.at(request)),
                static_cast<LPARAM>(QueryKind::SetupCommand));
  }
  bool Fire(int timer) { return m_host.Fire(Change(), timer); }

  // Up to the accepted settings: lock, pause, settings, their answer.
  void ThroughSettings() {
    Change().Start();
    ASSERT_TRUE(Fire(NetworkChange::kSettingsTimer));
    ASSERT_TRUE(Command(CommandIndex::SetNetwork, kResultSuccess));
  }
  // Then the first poll, answered with the given address.
  void ThroughPoll(const char *ip, const char *mask) {
    ThroughSettings();
    ASSERT_TRUE(Fire(NetworkChange::kPollTimer));
    BoxTells(ip, mask);
    ASSERT_TRUE(Command(CommandIndex::ReadLanAddress, kResultSuccess));
  }

  CleanRecords m_clean;
  ManualHost m_host;
  Script m_script;
  Report m_report;
  std::optional<NetworkChange> m_change;
};

TEST_F(NetworkChangeTest, SettingsFollowTheLockThenPollsThenTheLoginAtTheNewAddress) {
  Change().Start();
  EXPECT_TRUE(Change().Running());
  EXPECT_EQ(m_script.calls, Strings{"lock"});
  EXPECT_EQ(m_host.Delay(NetworkChange::kSettingsTimer), milliseconds(20));
  // The lock's own answer decides nothing, not even a refusal.
  EXPECT_TRUE(Command(CommandIndex::LockAddress, kResultFailure));
  ASSERT_TRUE(Fire(NetworkChange::kSettingsTimer));
  EXPECT_EQ(m_script.calls, (Strings{"lock", "settings"}));
  EXPECT_EQ(FieldText(m_script.sent.ip, sizeof m_script.sent.ip), "10.1.2.30");
  EXPECT_EQ(FieldText(m_script.sent.gateway, sizeof m_script.sent.gateway), "10.1.2.1");
  EXPECT_EQ(FieldText(m_script.sent.dns1, sizeof m_script.sent.dns1), "10.1.2.2");

  ASSERT_TRUE(Command(CommandIndex::SetNetwork, kResultSuccess));
  EXPECT_EQ(m_host.Delay(NetworkChange::kPollTimer), milliseconds(1000));
  ASSERT_TRUE(Fire(NetworkChange::kPollTimer));
  EXPECT_TRUE(Command(CommandIndex::ReadLanAddress, kResultFailure)); // polling goes on
  ASSERT_TRUE(Fire(NetworkChange::kPollTimer));
  BoxTells("10.1.2.30", "255.255.255.0");
  ASSERT_TRUE(Command(CommandIndex::ReadLanAddress, kResultSuccess));
  EXPECT_FALSE(m_host.Pending(NetworkChange::kPollTimer));
  EXPECT_EQ(m_host.Delay(NetworkChange::kLoginTimer), milliseconds(5000));
  EXPECT_EQ(m_script.calls, (Strings{"lock", "settings", "poll", "poll"}));

  ASSERT_TRUE(Fire(NetworkChange::kLoginTimer));
  EXPECT_EQ(m_script.calls.back(), "login");
  EXPECT_EQ(m_script.loginFlag, 1u);
  ASSERT_TRUE(Command(CommandIndex::LogIn, kResultSuccess));

  EXPECT_FALSE(Change().Running());
  EXPECT_FALSE(m_host.AnyPending());
  ASSERT_TRUE(m_report.outcome);
  EXPECT_TRUE(m_report.outcome->Succeeded());
  EXPECT_EQ(m_report.outcome->address, "10.1.2.30");
  EXPECT_EQ(m_report.outcome->netmask, "255.255.255.0");
  EXPECT_EQ(m_report.events, (Strings{"stage sending", "stage polling", "stage logging in"}));
}

class NetworkChangeEndTest;

struct EndCase {
  const char *label;
  std::function<void(NetworkChangeEndTest &)> script;
  NetworkChangeEnd end;
  const char *message;
  Strings calls;
};

void PrintTo(const EndCase &c, std::ostream *os) {
  *os << c.label;
}

class NetworkChangeEndTest : public NetworkChangeTest,
                             public ::testing::WithParamInterface<EndCase> {
public:
  using NetworkChangeTest::Command;
  using NetworkChangeTest::Fire;
  using NetworkChangeTest::ThroughPoll;
  using NetworkChangeTest::ThroughSettings;
  using NetworkChangeTest::Unanswered;
  Script &Requests() { return m_script; }
  NetworkChange &Started() { return Change(); }
};

TEST_P(NetworkChangeEndTest, EndsWithItsOutcomeAndStartsNothingMore) {
  const EndCase &c = GetParam();
  c.script(*this);
  ASSERT_TRUE(m_report.outcome) << "still running";
  EXPECT_EQ(m_report.ends, 1);
  EXPECT_EQ(m_report.outcome->end, c.end);
  EXPECT_EQ(Utf16ToUtf8(m_report.outcome->message), c.message);
  EXPECT_EQ(m_script.calls, c.calls);
  EXPECT_FALSE(Change().Running());
  EXPECT_FALSE(m_host.AnyPending());
  // Whatever arrives afterwards is the owner's.
  EXPECT_FALSE(Command(CommandIndex::SetNetwork, kResultSuccess));
  EXPECT_FALSE(Command(CommandIndex::LogIn, kResultSuccess));
}

const Strings kThroughLogin{"lock", "settings", "poll", "login"};
const std::string kMayHaveBeenMade = Utf16ToUtf8(kChangeMayHaveBeenMadeText);

std::vector<EndCase> EndCases() {
  return {
      EndCase{"LockNotStarted",
              [](auto &t) {
                t.Requests().notStarted["lock"] = true;
                t.Started().Start();
              },
              NetworkChangeEnd::SettingsRefused,
              "setting failed.",
              {"lock"}},
      EndCase{"SettingsNotStarted",
              [](auto &t) {
                t.Requests().notStarted["settings"] = true;
                t.Started().Start();
                t.Fire(NetworkChange::kSettingsTimer);
              },
              NetworkChangeEnd::SettingsRefused,
              "setting failed.",
              {"lock", "settings"}},
      EndCase{"SettingsRefused",
              [](auto &t) {
                t.Started().Start();
                t.Fire(NetworkChange::kSettingsTimer);
                t.Command(CommandIndex::SetNetwork, kResultFailure);
              },
              NetworkChangeEnd::SettingsRefused,
              "setting failed.",
              {"lock", "settings"}},
      // The box may have taken the settings before the answer was lost.
      EndCase{"SettingsAnswerLost",
              [](auto &t) {
                t.Started().Start();
                t.Fire(NetworkChange::kSettingsTimer);
                t.Command(CommandIndex::SetNetwork, kResultReplyLost);
              },
              NetworkChangeEnd::SettingsRefused,
              kMayHaveBeenMade.c_str(),
              {"lock", "settings"}},
      EndCase{"SettingsUnanswered",
              [](auto &t) {
                t.Started().Start();
                t.Fire(NetworkChange::kSettingsTimer);
                EXPECT_TRUE(t.Unanswered("settings"));
              },
              NetworkChangeEnd::SettingsRefused,
              "setting failed.",
              {"lock", "settings"}},
      EndCase{"SettingsNeverAnswered",
              [](auto &t) {
                t.Started().Start();
                t.Fire(NetworkChange::kSettingsTimer);
                EXPECT_TRUE(t.Fire(NetworkChange::kAnswerTimer));
              },
              NetworkChangeEnd::SettingsRefused,
              "setting failed.",
              {"lock", "settings"}},
      EndCase{"NoAddressWithinEightPolls",
              [](auto &t) {
                t.ThroughSettings();
                for (int tick = 0; tick < 9; ++tick) {
                  ASSERT_TRUE(t.Fire(NetworkChange::kPollTimer)) << "tick " << tick;
                  t.Command(CommandIndex::ReadLanAddress, kResultFailure);
                }
              },
              NetworkChangeEnd::NoNewAddress,
              "get NAS new ip error.",
              {"lock", "settings", "poll", "poll", "poll", "poll", "poll", "poll", "poll", "poll"}},
      EndCase{"AddressOutsideThePcsSubnet",
              [](auto &t) { t.ThroughPoll("10.9.0.30", "255.255.0.0"); },
              NetworkChangeEnd::LeftSubnet,
              "",
              {"lock", "settings", "poll"}},
      EndCase{"AddressThatIsNoDottedQuad",
              [](auto &t) { t.ThroughPoll("10.1.2", "255.255.255.0"); },
              NetworkChangeEnd::LeftSubnet,
              "",
              {"lock", "settings", "poll"}},
      EndCase{"LoginNotStarted",
              [](auto &t) {
                t.Requests().notStarted["login"] = true;
                t.ThroughPoll("10.1.2.30", "255.255.255.0");
                t.Fire(NetworkChange::kLoginTimer);
              },
              NetworkChangeEnd::LoginRefused, "setting failed.", kThroughLogin},
      EndCase{"LoginRefused",
              [](auto &t) {
                t.ThroughPoll("10.1.2.30", "255.255.255.0");
                t.Fire(NetworkChange::kLoginTimer);
                t.Command(CommandIndex::LogIn, kResultFailure);
              },
              NetworkChangeEnd::LoginRefused, "setting failed.", kThroughLogin},
      EndCase{"LoginUnanswered",
              [](auto &t) {
                t.ThroughPoll("10.1.2.30", "255.255.255.0");
                t.Fire(NetworkChange::kLoginTimer);
                EXPECT_TRUE(t.Unanswered("login"));
              },
              NetworkChangeEnd::LoginRefused, "setting failed.", kThroughLogin},
      EndCase{"LoginNeverAnswered",
              [](auto &t) {
                t.ThroughPoll("10.1.2.30", "255.255.255.0");
                t.Fire(NetworkChange::kLoginTimer);
                EXPECT_TRUE(t.Fire(NetworkChange::kAnswerTimer));
              },
              NetworkChangeEnd::LoginRefused, "setting failed.", kThroughLogin}};
}

INSTANTIATE_TEST_SUITE_P(Ends, NetworkChangeEndTest, ::testing::ValuesIn(EndCases()),
                         [](const auto &testCase) { return std::string(testCase.param.label); });

TEST_F(NetworkChangeTest, APollThatCannotStartIsShownAndThePollingGoesOn) {
  ThroughSettings();
  m_script.notStarted["poll"] = true;
  ASSERT_TRUE(Fire(NetworkChange::kPollTimer));
  EXPECT_TRUE(Change().Running());
  EXPECT_EQ(m_report.events.back(), "notice setting failed.");
  m_script.notStarted["poll"] = false;
  ASSERT_TRUE(Fire(NetworkChange::kPollTimer));
  BoxTells("10.1.2.30", "255.255.255.0");
  ASSERT_TRUE(Command(CommandIndex::ReadLanAddress, kResultSuccess));
  EXPECT_TRUE(m_host.Pending(NetworkChange::kLoginTimer));
}

TEST_F(NetworkChangeTest, LateAndForeignAnswersStartNothing) {
  ThroughSettings();
  ASSERT_TRUE(Fire(NetworkChange::kPollTimer));
  const Ticket firstPoll = m_script.latest.at("poll");
  ASSERT_TRUE(Fire(NetworkChange::kPollTimer));
  // A poll that ended without an answer is the change's; the polling goes on.
  EXPECT_TRUE(Post(WM_REQUEST_UNANSWERED, static_cast<WPARAM>(firstPoll), 3));
  EXPECT_TRUE(m_host.Pending(NetworkChange::kPollTimer));
  // A ticket the change never had is someone else's.
  EXPECT_FALSE(Post(WM_REQUEST_UNANSWERED, static_cast<WPARAM>(NextTicket()), 3));
  EXPECT_FALSE(Post(WM_SETIP_RESULT, kResultSuccess, 4));
  // A repeated settings answer does not start a second polling series.
  EXPECT_TRUE(Command(CommandIndex::SetNetwork, kResultSuccess));

  BoxTells("10.1.2.30", "255.255.255.0");
  ASSERT_TRUE(Command(CommandIndex::ReadLanAddress, kResultSuccess));
  // The second poll's answer arrives during the pause: one login only.
  EXPECT_TRUE(Command(CommandIndex::ReadLanAddress, kResultSuccess));
  EXPECT_FALSE(m_host.Pending(NetworkChange::kPollTimer));
  ASSERT_TRUE(Fire(NetworkChange::kLoginTimer));
  EXPECT_TRUE(Command(CommandIndex::ReadLanAddress, kResultSuccess));
  ASSERT_TRUE(Command(CommandIndex::LogIn, kResultSuccess));
  EXPECT_EQ(m_script.calls, (Strings{"lock", "settings", "poll", "poll", "login"}));
  EXPECT_EQ(m_report.ends, 1);
}

TEST_F(NetworkChangeTest, ASequenceGoneBeforeItsTimersLeavesNonePending) {
  Change().Start();
  EXPECT_TRUE(m_host.Pending(NetworkChange::kSettingsTimer));
  m_change.reset();
  EXPECT_FALSE(m_host.AnyPending());
}

TEST_F(NetworkChangeTest, ScaledTimesReachTheTimers) {
  timing::ScopedTimeScale faster(0.1);
  ThroughSettings();
  EXPECT_EQ(m_host.Delay(NetworkChange::kPollTimer), milliseconds(100));
}

} // namespace
} // namespace corvesta::test
