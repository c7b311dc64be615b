// The network change and the formatting chain against a simulated box, run
// by the host corvesta-cli uses, with the protocol's times shrunk.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "../http/sim_exchange.h"
#include "i18n/own_texts.h"
#include "nas/current_credentials.h"
#include "nas/protocol_timing.h"
#include "nas/query.h"
#include "nas/udp/adapter_table.h"
#include "platform/text_codec.h"
#include "setup/format_chain.h"
#include "setup/network_change.h"
#include "setup/queue_sequence_host.h"
#include "support/clean_records.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"

namespace corvesta::test {
namespace {

using nlohmann::json;
using std::chrono::seconds;
using Strings = std::vector<std::string>;

constexpr char kBoxIp[] = "127.0.0.2";
constexpr char kPassword[] = "alphapass1";
// Polls every 50 ms, a silence limit of 3 s, an answer limit of 2 s.
constexpr double kTimeScale = 0.05;
const std::string kMayHaveBeenMade = Utf16ToUtf8(kChangeMayHaveBeenMadeText);

json Box() {
  json box = NasSimProcess::MakeBox("ALPHA", kBoxIp, "02:aa:00:00:00:02", kPassword);
  box["disks"] =
      json::array({{{"device", "sda"}, {"size_gib", 500}}, {{"device", "sdb"}, {"size_gib", 500}}});
  // Longer than the shrunk silence limit: only answers that keep coming keep
  // the chain going.
  box["format_seconds"] = 4;
  return box;
}

// The commands the box received, in order, by their cmd value or XML path.
Strings Commands(const NasSimProcess &sim) {
  Strings commands;
  for (const SimRequest &request : WebRequests(sim)) {
    const auto cmd = request.bytes.find("cmd=");
    if (cmd != std::string::npos) {
      const auto end = request.bytes.find('&', cmd);
      commands.push_back(request.bytes.substr(cmd + 4, end == std::string::npos ? std::string::npos
                                                                                : end - cmd - 4));
    } else if (request.bytes.find("dm_read_state.xml") != std::string::npos) {
      commands.emplace_back("state");
    }
  }
  return commands;
}

bool Has(const Strings &commands, const std::string &command) {
  return std::find(commands.begin(), commands.end(), command) != commands.end();
}

class SequenceSimTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_sim.Start(NasSimProcess::MakeState({Box()}))) << m_sim.Error();
    UseSingleDevice(kBoxIp);
    AdapterTable table;
    CopyToField(table.adapters[0].address, sizeof table.adapters[0].address, "127.0.0.1");
    CopyToField(table.adapters[0].mask, sizeof table.adapters[0].mask, "255.0.0.0");
    table.count = 1;
    SetCurrentAdapterTable(table);
    SetCurrentCredentials(MakeCredentials("admin", kPassword));
  }
  void TearDown() override {
    ClearCurrentCredentials();
    SetCurrentAdapterTable(AdapterTable{});
    // No request is left running, whatever the sequence did.
    EXPECT_TRUE(WaitUntil([&] { return CQuery::LiveCount() == m_liveBefore; }, seconds(20)));
    Collect(m_window, std::chrono::milliseconds(0), std::chrono::milliseconds(0));
  }

  // Runs `sequence` to its end as corvesta-cli does.
  void Run(Sequence &sequence) {
    EXPECT_TRUE(m_host.Run(sequence, seconds(40), &Release)) << "the sequence did not end";
  }

  json BoxState() { return m_sim.Box("ALPHA").value_or(json::object()); }

  CleanRecords m_clean;
  timing::ScopedTimeScale m_faster{kTimeScale};
  NasSimProcess m_sim;
  MessageQueueTarget m_window;
  QueueSequenceHost m_host{m_window};
  std::int64_t m_liveBefore = CQuery::LiveCount();
};

// ---- Formatting.

struct FormatReport : FormatChainObserver {
  std::vector<int> percents;
  Strings notices;
  std::optional<FormatOutcome> outcome;

  void OnStage(FormatStage) override {}
  void OnPercent(int percent) override { percents.push_back(percent); }
  void OnNotice(std::u16string_view text) override { notices.push_back(Utf16ToUtf8(text)); }
  void OnEnd(const FormatOutcome &ended) override { outcome = ended; }
};

VolumeSpec Raid1() {
  VolumeSpec request;
  request.autoSync = 1;
  request.volumeNumber = 1;
  CopyToField(request.mode, sizeof request.mode, "raid1");
  CopyToField(request.fileSystem, sizeof request.fileSystem, "ext4");
  request.size = 497;
  CopyToField(request.disks, sizeof request.disks, "sdasdb");
  request.secondFlag = 1;
  return request;
}

class FormatSimTest : public SequenceSimTest {
protected:
  FormatReport Format() {
    FormatReport report;
    FormatChain chain(m_host, report, 0, Raid1());
    chain.Start();
    Run(chain);
    return report;
  }
};

TEST_F(FormatSimTest, TheBoxFormatsWhileThePercentagesGrowAndTheChainCompletes) {
  const FormatReport report = Format();
  ASSERT_TRUE(report.outcome);
  EXPECT_TRUE(report.outcome->Succeeded()) << Utf16ToUtf8(report.outcome->message);
  EXPECT_TRUE(report.notices.empty());
  ASSERT_FALSE(report.percents.empty());
  EXPECT_TRUE(std::is_sorted(report.percents.begin(), report.percents.end()));
  EXPECT_TRUE(std::any_of(report.percents.begin(), report.percents.end(),
                          [](int percent) { return percent > 0 && percent < 100; }));
  const Strings commands = Commands(m_sim);
  const Strings steps{"cgi_AJAXPlorer_Stop", "cgi_FMT_Create_DiskMGR", "cgi_Disk_Remount",
                      "cgi_Check_Disk_Remount_State", "cgi_FMT_Disk_Finish"};
  Strings order;
  std::copy_if(commands.begin(), commands.end(), std::back_inserter(order),
               [](const std::string &command) { return command != "state"; });
  EXPECT_EQ(order, steps);
  const json volumes = BoxState().at("volumes");
  ASSERT_EQ(volumes.size(), 1u) << volumes.dump();
  EXPECT_EQ(volumes[0].at("mode"), "raid1");
  EXPECT_EQ(volumes[0].at("total_kib"), 497LL * 1024 * 1024);
}

TEST_F(FormatSimTest, AFailedFormattingIsReportedAndTheDisksAreStillRemounted) {
  ASSERT_TRUE(m_sim.SetFaults("ALPHA", {{"format_errcode", 2}})) << m_sim.Error();
  const FormatReport report = Format();
  ASSERT_TRUE(report.outcome);
  EXPECT_TRUE(report.outcome->completed);
  EXPECT_FALSE(report.outcome->formatted);
  EXPECT_EQ(report.notices, Strings{"format error."});
  const Strings commands = Commands(m_sim);
  for (const char *step :
       {"cgi_Disk_Remount", "cgi_Check_Disk_Remount_State", "cgi_FMT_Disk_Finish"}) {
    EXPECT_TRUE(Has(commands, step)) << step;
  }
  EXPECT_TRUE(BoxState().at("volumes").empty());
}

struct FormatFault {
  const char *label;
  json faults;
  const char *message;
  const char *notSent; // the step the failure keeps from being sent; none when null
  // The finish went out after the failure, to start the file browser again.
  bool restarted;
};

void PrintTo(const FormatFault &c, std::ostream *os) {
  *os << c.label;
}

class FormatFaultTest : public FormatSimTest, public ::testing::WithParamInterface<FormatFault> {};

TEST_P(FormatFaultTest, AFailedStepEndsTheChainWithItsMessage) {
  const FormatFault &c = GetParam();
  ASSERT_TRUE(m_sim.SetFaults("ALPHA", c.faults)) << m_sim.Error();
  const FormatReport report = Format();
  ASSERT_TRUE(report.outcome);
  EXPECT_FALSE(report.outcome->completed);
  EXPECT_EQ(Utf16ToUtf8(report.outcome->message), c.message);
  if (c.notSent != nullptr) {
    EXPECT_FALSE(Has(Commands(m_sim), c.notSent)) << c.notSent;
  }
  EXPECT_EQ(Has(Commands(m_sim), "cgi_FMT_Disk_Finish"), c.restarted);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FormatFaultTest,
    ::testing::Values(FormatFault{"StopRefused",
                                  {{"http", {{"cgi_AJAXPlorer_Stop", {{"status", 400}}}}}},
                                  "setting failed.",
                                  "cgi_FMT_Create_DiskMGR",
                                  // An error status is no answer: the stop may
                                  // have been taken, and the finish follows.
                                  true},
                      // The box took the volumes before the answer was lost.
                      FormatFault{"CreateDropped",
                                  {{"http", {{"cgi_FMT_Create_DiskMGR", {{"drop", true}}}}}},
                                  kMayHaveBeenMade.c_str(),
                                  "state",
                                  false},
                      FormatFault{"StateNeverAnswered",
                                  {{"http", {{"dm_read_state.xml", {{"drop", true}}}}}},
                                  "The NAS stopped reporting the state of the formatting.",
                                  "cgi_Disk_Remount",
                                  false},
                      FormatFault{"RemountRefused",
                                  {{"http", {{"cgi_Disk_Remount", {{"status", 400}}}}}},
                                  "Set Remount failed.",
                                  "cgi_Check_Disk_Remount_State",
                                  true},
                      FormatFault{
                          "RemountCheckUnreadable",
                          {{"http", {{"cgi_Check_Disk_Remount_State", {{"broken_xml", true}}}}}},
                          "CheckDiskRemountState  failed.",
                          nullptr,
                          true}),
    [](const auto &testCase) { return std::string(testCase.param.label); });

// ---- Network change.

struct NetworkReport : NetworkChangeObserver {
  Strings notices;
  std::optional<NetworkChangeOutcome> outcome;

  void OnStage(NetworkChangeStage) override {}
  void OnNotice(std::u16string_view text) override { notices.push_back(Utf16ToUtf8(text)); }
  void OnEnd(const NetworkChangeOutcome &ended) override { outcome = ended; }
};

NetSettings Static(const char *ip, const char *mask) {
  NetSettings settings;
  CopyToField(settings.ip, sizeof settings.ip, ip);
  CopyToField(settings.netmask, sizeof settings.netmask, mask);
  CopyToField(settings.gateway, sizeof settings.gateway, "127.0.0.1");
  return settings;
}

class NetworkSimTest : public SequenceSimTest {
protected:
  NetworkReport Change(const NetSettings &settings) {
    NetworkReport report;
    NetworkChange change(m_host, report, 0, settings);
    change.Start();
    Run(change);
    return report;
  }
};

TEST_F(NetworkSimTest, TheBoxMovesInsideTheSubnetAndIsLoggedInAgainThere) {
  const NetworkReport report = Change(Static("127.0.0.21", "255.0.0.0"));
  ASSERT_TRUE(report.outcome);
  EXPECT_TRUE(report.outcome->Succeeded()) << Utf16ToUtf8(report.outcome->message);
  EXPECT_EQ(report.outcome->address, "127.0.0.21");
  EXPECT_EQ(BoxState().at("ip"), "127.0.0.21");
  const Strings commands = Commands(m_sim);
  ASSERT_GE(commands.size(), 4u);
  // The lock is started before the settings (the scripted tests hold that
  // order); the two run on workers of their own, only a scaled 20 ms apart,
  // so which reaches the box first is not the sequence's to decide.
  EXPECT_THAT((Strings{commands[0], commands[1]}),
              ::testing::UnorderedElementsAre("cgi_setip_lock", "cgi_ip"));
  EXPECT_EQ(commands[2], "cgi_get_lan_xml2");
  EXPECT_EQ(commands.back(), "login");
  // The login went to the box's new address.
  const std::vector<SimRequest> web = WebRequests(m_sim);
  EXPECT_EQ(web.back().local.rfind("127.0.0.21:", 0), 0u) << web.back().local;
}

struct NetworkEnd {
  const char *label;
  NetSettings settings;
  json faults;
  NetworkChangeEnd end;
  const char *message;
  const char *notSent;
};

void PrintTo(const NetworkEnd &c, std::ostream *os) {
  *os << c.label;
}

class NetworkEndTest : public NetworkSimTest, public ::testing::WithParamInterface<NetworkEnd> {};

TEST_P(NetworkEndTest, EndsWithItsOutcome) {
  const NetworkEnd &c = GetParam();
  ASSERT_TRUE(m_sim.SetFaults("ALPHA", c.faults)) << m_sim.Error();
  const NetworkReport report = Change(c.settings);
  ASSERT_TRUE(report.outcome);
  EXPECT_EQ(report.outcome->end, c.end);
  EXPECT_EQ(Utf16ToUtf8(report.outcome->message), c.message);
  EXPECT_FALSE(Has(Commands(m_sim), c.notSent)) << c.notSent;
}

INSTANTIATE_TEST_SUITE_P(
    Ends, NetworkEndTest,
    ::testing::Values(NetworkEnd{"OutsideThePcsSubnet", Static("127.5.0.9", "255.255.0.0"),
                                 json::object(), NetworkChangeEnd::LeftSubnet, "", "login"},
                      NetworkEnd{"SettingsRefused",
                                 Static("127.0.0.21", "255.0.0.0"),
                                 {{"http", {{"cgi_ip", {{"status", 400}}}}}},
                                 NetworkChangeEnd::SettingsRefused,
                                 "setting failed.",
                                 "cgi_get_lan_xml2"},
                      NetworkEnd{"AddressNeverTold",
                                 Static("127.0.0.21", "255.0.0.0"),
                                 {{"http", {{"cgi_get_lan_xml2", {{"drop", true}}}}}},
                                 NetworkChangeEnd::NoNewAddress,
                                 "get NAS new ip error.",
                                 "login"},
                      NetworkEnd{"LoginDropped",
                                 Static("127.0.0.21", "255.0.0.0"),
                                 {{"http", {{"login", {{"drop", true}}}}}},
                                 NetworkChangeEnd::LoginRefused,
                                 "setting failed.",
                                 "logout"}),
    [](const auto &testCase) { return std::string(testCase.param.label); });

} // namespace
} // namespace corvesta::test
