// The login, logout and address change sequences against simulated boxes.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "core/udp/udp_sim_helpers.h"
#include "nas/current_credentials.h"
#include "nas/protocol_timing.h"
#include "nas/take_query.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "setup/address_change_sequence.h"
#include "setup/login_sequence.h"
#include "setup/logout_sequence.h"
#include "setup/queue_sequence_host.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"

namespace corvesta::test {
namespace {

using nlohmann::json;
using std::chrono::seconds;

constexpr char kAlphaMac[] = "02:aa:00:00:00:02";
constexpr char kFarMac[] = "02:aa:00:00:00:07";

json AlphaBox() {
  json box = NasSimProcess::MakeBox("ALPHA", "127.0.0.2", kAlphaMac, "alphapass1");
  box["accounts"].push_back(
      {{"user", "bob"}, {"password", "bobpass12"}, {"access", "1,0,0,0,1,1"}});
  box["disks"] = json::array({{{"device", "sda"}, {"size_gib", 1000}}});
  box["volumes"] = json::array({{{"volume", 1},
                                 {"mode", "standalone"},
                                 {"file_system", "ext4"},
                                 {"disks", "sda"},
                                 {"total_kib", 900LL * 1024 * 1024},
                                 {"used_kib", 90LL * 1024 * 1024}}});
  return box;
}

// In 127.5.0.0/16: outside the subnet of the namespace's loopback adapter.
json FarBox() {
  json box = NasSimProcess::MakeBox("FARAWAY", "127.5.0.7", kFarMac, "admin");
  box["netmask"] = "255.255.0.0";
  box["gateway"] = "";
  return box;
}

class Recorder : public LoginObserver, public AddressChangeObserver {
public:
  void OnAccessRights(std::u16string_view text) override { access = text; }
  void OnVolumes(const std::vector<VolumeUsage> &list) override { volumes = list; }
  void OnLoginFinished(const LoginOutcome &) override {}
  void OnAddressChangeFinished(const AddressChangeOutcome &) override {}

  std::u16string access;
  std::vector<VolumeUsage> volumes;
};

class LoginSequencesSimTest : public ::testing::Test {
protected:
  void SetUp() override {
    ClearCurrentCredentials();
    ASSERT_TRUE(m_sim.Start(NasSimProcess::MakeState({AlphaBox(), FarBox()}))) << m_sim.Error();
    timing::ScopedTimeScale faster(0.25);
    ASSERT_TRUE(Discover(m_window));
  }
  void TearDown() override { ClearCurrentCredentials(); }

  // Runs the sequence to its end as a front end does: what is not its own
  // is freed. A request that fails on its way ends with its unanswered
  // message, which the sequence takes itself.
  void RunToEnd(RequestSequence &sequence) {
    auto dispose = [](const Message &message) { TakeQuery(message); };
    ASSERT_TRUE(m_host.Run(sequence, seconds(120), dispose));
  }

  LoginOutcome LogIn(int index, std::u16string user, std::u16string password) {
    LoginSequence login(m_host, m_recorder);
    LoginRequest request{index, std::move(user), std::move(password), true};
    if (login.Start(request)) {
      RunToEnd(login);
    }
    m_loggedIn = login.LoggedIn();
    m_mayBeOpen = login.LoginMayBeOpen();
    return login.Outcome();
  }

  std::size_t WebRequestsWith(const std::string &fragment) const {
    std::size_t count = 0;
    for (const SimRequest &request : m_sim.Requests()) {
      count += request.transport == "tcp" && request.bytes.find(fragment) != std::string::npos;
    }
    return count;
  }

  NasSimProcess m_sim;
  ScopedAppDataFolder m_appData;
  ScopedMessageBoxRecorder m_boxes;
  MessageQueueTarget m_window;
  QueueSequenceHost m_host{m_window};
  Recorder m_recorder;
  bool m_loggedIn = false;
  bool m_mayBeOpen = false;
};

TEST_F(LoginSequencesSimTest, AdministratorLogsInReadsTheVolumesAndLogsOut) {
  const int alpha = DeviceIndexByName("ALPHA");
  ASSERT_GE(alpha, 0);
  const LoginOutcome outcome = LogIn(alpha, u"admin", u"alphapass1");
  EXPECT_EQ(outcome.result, LoginResult::Connected) << Utf16ToUtf8(outcome.message);
  EXPECT_EQ(m_recorder.volumes, (std::vector<VolumeUsage>{{1, 900, 90}}));
  EXPECT_EQ(WebRequestsWith("cmd=login&username=admin"), 1u);
  EXPECT_EQ(WebRequestsWith("cmd=cgi_get_user_access"), 0u);

  LogoutSequence logout(m_host);
  ASSERT_TRUE(logout.Start(alpha, m_loggedIn));
  RunToEnd(logout);
  EXPECT_EQ(logout.Result(), LogoutResult::Answered);
  EXPECT_EQ(WebRequestsWith("cmd=logout&name=admin"), 1u);
  EXPECT_EQ(CurrentCredentials(), Credentials{});
}

TEST_F(LoginSequencesSimTest, UserGetsTheRightsTheBoxKeepsForHim) {
  const LoginOutcome outcome = LogIn(DeviceIndexByName("ALPHA"), u"bob", u"bobpass12");
  EXPECT_EQ(outcome.result, LoginResult::Connected);
  EXPECT_EQ(m_recorder.access, u"1,0,0,0,1,1");
  EXPECT_EQ(WebRequestsWith("cmd=cgi_get_user_access&name=bob"), 1u);
}

struct FailureCase {
  const char *label;
  std::u16string password;
  json faults;
  LoginResult result;
  std::size_t webLogins; // login requests the box received
};

void PrintTo(const FailureCase &c, std::ostream *os) {
  *os << c.label;
}

class LoginSequencesSimFailureTest : public LoginSequencesSimTest,
                                     public ::testing::WithParamInterface<FailureCase> {};

// Every web login that went out is followed by its logout, also when its
// answer was lost: the box may have opened the session all the same.
TEST_P(LoginSequencesSimFailureTest, EndsWithoutALoginAndEveryLoginSentIsLoggedOut) {
  const FailureCase &c = GetParam();
  ASSERT_TRUE(m_sim.SetFaults("ALPHA", c.faults)) << m_sim.Error();
  const int alpha = DeviceIndexByName("ALPHA");
  const LoginOutcome outcome = LogIn(alpha, u"admin", c.password);
  EXPECT_EQ(outcome.result, c.result);
  EXPECT_FALSE(m_loggedIn);
  EXPECT_EQ(WebRequestsWith("cmd=login&"), c.webLogins);
  LogoutSequence logout(m_host);
  if (logout.Start(alpha, m_mayBeOpen)) {
    RunToEnd(logout);
  }
  EXPECT_EQ(WebRequestsWith("cmd=logout&"), c.webLogins);
  EXPECT_EQ(CurrentCredentials(), Credentials{});
}

INSTANTIATE_TEST_SUITE_P(
    Box, LoginSequencesSimFailureTest,
    ::testing::Values(FailureCase{"WrongPassword", u"wrongpass", json::object(),
                                  LoginResult::CredentialsRefused, 0},
                      FailureCase{"SilentBox",
                                  u"alphapass1",
                                  {{"udp", {{"cred_check", {{"silent", true}}}}}},
                                  LoginResult::NoVerdict,
                                  0},
                      // The reply is cut before its document: unreadable.
                      FailureCase{"LoginUnreadable",
                                  u"alphapass1",
                                  {{"http", {{"login", {{"oversize", "before"}}}}}},
                                  LoginResult::LoginRefused,
                                  1},
                      FailureCase{"LoginDropped",
                                  u"alphapass1",
                                  {{"http", {{"login", {{"drop", true}}}}}},
                                  LoginResult::LoginRefused,
                                  1},
                      FailureCase{"NoWebService",
                                  u"alphapass1",
                                  {{"refuse_connections", true}},
                                  LoginResult::LoginRefused,
                                  0}),
    [](const auto &testCase) { return std::string(testCase.param.label); });

// Outside the subnet the administrator gives the box a new address by
// datagram; found again by its hardware address, it takes the login there.
TEST_F(LoginSequencesSimTest, BoxOutsideTheSubnetIsMovedInAndLoggedInto) {
  const int far = DeviceIndexByName("FARAWAY");
  ASSERT_GE(far, 0);
  EXPECT_EQ(LogIn(far, u"admin", u"admin").result, LoginResult::OutsideSubnet);
  EXPECT_EQ(WebRequestsWith("cmd=login&"), 0u);

  AddressChangeSequence change(m_host, m_recorder);
  ASSERT_TRUE(change.Start(far, MakeIpSettingBlock("127.0.0.31", "255.0.0.0", "", false)));
  RunToEnd(change);
  const AddressChangeOutcome &moved = change.Outcome();
  ASSERT_EQ(moved.result, AddressChangeResult::Found);
  EXPECT_EQ(FieldText(moved.device.ip, sizeof moved.device.ip), "127.0.0.31");
  EXPECT_EQ(FieldText(moved.device.mac, sizeof moved.device.mac), kFarMac);
  EXPECT_EQ(m_sim.Box(kFarMac).value_or(json::object()).value("ip", ""), "127.0.0.31");

  EXPECT_EQ(LogIn(moved.deviceIndex, u"admin", u"admin").result, LoginResult::Connected);
}

TEST_F(LoginSequencesSimTest, AChangeTheBoxNeverAcknowledgesFails) {
  ASSERT_TRUE(m_sim.SetFaults("FARAWAY", {{"no_address_ack", true}})) << m_sim.Error();
  timing::ScopedTimeScale faster(0.02);
  AddressChangeSequence change(m_host, m_recorder);
  ASSERT_TRUE(change.Start(DeviceIndexByName("FARAWAY"),
                           MakeIpSettingBlock("127.0.0.32", "255.0.0.0", "", false)));
  RunToEnd(change);
  EXPECT_EQ(change.Outcome().result, AddressChangeResult::NotAcknowledged);
  EXPECT_EQ(change.Outcome().message, kSetAddressFailedText);
}

} // namespace
} // namespace corvesta::test
