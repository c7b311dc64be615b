// corvesta-cli against simulated boxes: what it remembers of a login, the
// logouts that follow every login, and a hardware address heard from two
// addresses.

#include <gtest/gtest.h>

#include <signal.h>

#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli_process.h"
#include "platform/base64.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"

namespace corvesta::test {
namespace {

using nlohmann::json;
using std::chrono::seconds;

constexpr char kAlphaPassword[] = "alphapass1";
constexpr char kNoVerdict[] =
    "The NAS did not answer the login check. Nothing was changed; try again.";
constexpr char kRefused[] = "Username or password error.";

json AlphaBox() {
  json box = NasSimProcess::MakeBox("ALPHA", "127.0.0.2", "02:aa:00:00:00:02", kAlphaPassword);
  box["accounts"].push_back({{"user", "bob"}, {"password", "bobpass12"}, {"access", "1,1,1,1"}});
  // The old address answers long enough for the logouts after a network
  // change that was never confirmed.
  box["address_grace_ms"] = 60000;
  return box;
}

class CliLoginsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_sim.Start(NasSimProcess::MakeState({AlphaBox()}))) << m_sim.Error();
  }

  CliCall Call(std::vector<std::string> args, const std::string &password = "",
               const std::string &input = "") {
    CliCall call;
    call.args = std::move(args);
    call.env["XDG_CONFIG_HOME"] = m_config.Path().string();
    if (!password.empty()) {
      call.env["CORVESTA_PASSWORD"] = password;
    }
    call.input = input;
    return call;
  }

  CliRun Cli(std::vector<std::string> args, const std::string &password = "",
             const std::string &input = "") {
    CliRun run = RunCli(Call(std::move(args), password, input));
    EXPECT_FALSE(run.timedOut) << "corvesta-cli did not end: " << run.err;
    return run;
  }

  std::string Settings() const {
    std::ifstream in(m_config.Path() / "Utility" / "Utility.ini");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // The remembered login of ALPHA is admin with `password`.
  void ExpectRemembered(const std::string &password) {
    const std::string settings = Settings();
    EXPECT_NE(settings.find("UserName=admin\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("PassWord=" + Base64Encode(password) + "\n"), std::string::npos)
        << settings;
  }

  static std::size_t Count(const NasSimProcess &sim, const std::string &box,
                           const std::string &transport, const std::string &fragment) {
    std::size_t count = 0;
    for (const SimRequest &request : sim.Requests()) {
      count += request.box == box && request.transport == transport &&
               request.bytes.find(fragment) != std::string::npos;
    }
    return count;
  }
  std::size_t WebRequestsWith(const std::string &box, const std::string &fragment) const {
    return Count(m_sim, box, "tcp", fragment);
  }

  TempFolder m_config;
  NasSimProcess m_sim;
};

// Silence is no refusal: the remembered login stays, and the person is told
// that the box did not answer. A refusal of other credentials than the
// remembered ones leaves those alone too.
TEST_F(CliLoginsTest, RememberedLoginSurvivesSilenceAndRefusalsOfOtherCredentials) {
  CliRun run = Cli({"connect", "ALPHA", "--remember"}, kAlphaPassword);
  ASSERT_EQ(run.status, 0) << run.err;
  ExpectRemembered(kAlphaPassword);

  const std::pair<const char *, json> silences[] = {
      {"silent", {{"udp", {{"cred_check", {{"silent", true}}}}}}},
      {"stale tag", {{"udp", {{"cred_check", {{"stale_tag", true}}}}}}},
      {"slow box", {{"udp", {{"cred_check", {{"delay_ms", 2500}}}}}}},
  };
  for (const auto &[what, faults] : silences) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(m_sim.SetFaults("ALPHA", faults)) << m_sim.Error();
    run = Cli({"connect", "ALPHA"}); // the remembered password
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(kNoVerdict), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find(kRefused), std::string::npos) << run.err;
    ExpectRemembered(kAlphaPassword);
  }
  ASSERT_TRUE(m_sim.SetFaults("ALPHA", json::object())) << m_sim.Error();

  const std::pair<std::vector<std::string>, const char *> others[] = {
      {{"connect", "ALPHA", "--user", "bob"}, "wrongpass"},
      {{"connect", "ALPHA"}, "mistyped1"},
  };
  for (const auto &[args, password] : others) {
    SCOPED_TRACE(password);
    run = Cli(args, password);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(kRefused), std::string::npos) << run.err;
    ExpectRemembered(kAlphaPassword);
  }
  EXPECT_EQ(WebRequestsWith("ALPHA", "cmd=login&"), 1u) << "only the first run logged in";
}

// --remember writes what the box accepted, and only that: a refused or
// unanswered login leaves the remembered one as it was, so a mistyped
// password never costs the login that works. --forget forgets at once.
TEST_F(CliLoginsTest, RememberWritesOnlyWhatTheBoxAccepted) {
  ASSERT_EQ(Cli({"connect", "ALPHA", "--remember"}, kAlphaPassword).status, 0);
  ExpectRemembered(kAlphaPassword);

  struct Case {
    const char *what;
    std::vector<std::string> args;
    const char *password;
    json faults;
    const char *told;
  };
  const Case refused[] = {
      {"a mistyped password",
       {"connect", "ALPHA", "--remember"},
       "mistyped1",
       json::object(),
       kRefused},
      {"another user's wrong password",
       {"connect", "ALPHA", "--remember", "--user", "bob"},
       "wrongpass",
       json::object(),
       kRefused},
      {"no verdict",
       {"connect", "ALPHA", "--remember"},
       "otherpass1",
       {{"udp", {{"cred_check", {{"silent", true}}}}}},
       kNoVerdict},
  };
  for (const Case &c : refused) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(m_sim.SetFaults("ALPHA", c.faults)) << m_sim.Error();
    const CliRun run = Cli(c.args, c.password);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(c.told), std::string::npos) << run.err;
    ExpectRemembered(kAlphaPassword);
    // The remembered login still opens the box.
    ASSERT_TRUE(m_sim.SetFaults("ALPHA", json::object())) << m_sim.Error();
    EXPECT_EQ(Cli({"connect", "ALPHA"}).status, 0);
  }

  // Accepted: the new login takes the remembered one's place.
  CliRun run = Cli({"connect", "ALPHA", "--remember", "--user", "bob"}, "bobpass12");
  EXPECT_EQ(run.status, 0) << run.err;
  std::string settings = Settings();
  EXPECT_NE(settings.find("UserName=bob\nPassWord=" + Base64Encode("bobpass12") + "\n"),
            std::string::npos)
      << settings;

  // --forget empties it at once, whatever the box then says.
  run = Cli({"connect", "ALPHA", "--forget", "--user", "bob"}, "wrongpass");
  EXPECT_EQ(run.status, 1);
  settings = Settings();
  EXPECT_NE(settings.find("UserName=\nPassWord=\n"), std::string::npos) << settings;
}

// A password change whose answer is lost may have been made: the new
// password is remembered, not lost with the old one.
TEST_F(CliLoginsTest, ANewPasswordWhoseAnswerWasLostIsRemembered) {
  ASSERT_EQ(Cli({"connect", "ALPHA", "--remember"}, kAlphaPassword).status, 0);
  ASSERT_TRUE(m_sim.SetFaults("ALPHA", {{"http", {{"cgi_chg_user_pw", {{"drop", true}}}}}}));
  const CliRun run = Cli({"password", "ALPHA"}, "", "newsecret9\n");
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(WebRequestsWith("ALPHA", "cmd=cgi_chg_user_pw"), 1u);
  ExpectRemembered("newsecret9");
}

// Every login sent is followed by its logout, also when the login's answer
// was lost or could not be read: the box may have opened the session.
TEST_F(CliLoginsTest, ALoginWhoseAnswerWasLostIsLoggedOut) {
  const std::pair<const char *, json> losses[] = {
      {"dropped", {{"drop", true}}},
      {"cut before its document", {{"oversize", "before"}}},
  };
  std::size_t sent = 0;
  for (const auto &[what, fault] : losses) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(m_sim.SetFaults("ALPHA", {{"http", {{"login", fault}}}})) << m_sim.Error();
    const CliRun run = Cli({"connect", "ALPHA"}, kAlphaPassword);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Login failed."), std::string::npos) << run.err;
    ++sent;
    EXPECT_EQ(WebRequestsWith("ALPHA", "cmd=login&"), sent);
    EXPECT_EQ(WebRequestsWith("ALPHA", "cmd=logout&name=admin"), sent);
  }
  // A plain refusal opened nothing: no logout follows it.
  ASSERT_TRUE(m_sim.Patch("ALPHA", {{"sessions", {{{"user", "admin"}, {"peer", "127.0.0.9"}}}}}));
  ASSERT_TRUE(m_sim.SetFaults("ALPHA", json::object()));
  const CliRun run = Cli({"connect", "ALPHA"}, kAlphaPassword);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("currently in use"), std::string::npos) << run.err;
  EXPECT_EQ(WebRequestsWith("ALPHA", "cmd=logout&"), sent);
}

// SIGINT, SIGTERM and SIGHUP while logged in: a logout, then the end with
// 128 plus the signal's number.
TEST_F(CliLoginsTest, ASignalWhileLoggedInLogsOutBeforeTheEnd) {
  // The volume list keeps the session open long enough to be interrupted.
  ASSERT_TRUE(
      m_sim.SetFaults("ALPHA", {{"http", {{"cgi_Status_Volume_Info", {{"delay_ms", 8000}}}}}}));
  std::size_t logins = 0;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    ++logins;
    CliCall call = Call({"connect", "ALPHA"}, kAlphaPassword);
    call.limit = seconds(25);
    call.signal = signal;
    call.signalWhen = [&] {
      return WebRequestsWith("ALPHA", "cmd=cgi_Status_Volume_Info") >= logins;
    };
    const CliRun run = RunCli(call);
    EXPECT_FALSE(run.timedOut) << run.err;
    EXPECT_EQ(run.status, 128 + signal) << run.err;
    EXPECT_EQ(WebRequestsWith("ALPHA", "cmd=login&"), logins);
    EXPECT_EQ(WebRequestsWith("ALPHA", "cmd=logout&name=admin"), logins);
  }
}

// New settings whose address the box never confirmed: the session is
// closed at the old address and at the one sent.
TEST_F(CliLoginsTest, AnUnconfirmedNewAddressIsLoggedOutAtBothAddresses) {
  ASSERT_TRUE(m_sim.SetFaults("ALPHA", {{"http", {{"cgi_get_lan_xml2", {{"drop", true}}}}}}));
  CliCall call = Call({"network", "ALPHA", "--static", "--ip", "127.0.0.21", "--mask", "255.0.0.0",
                       "--gateway", "127.0.0.1"},
                      kAlphaPassword);
  const CliRun run = RunCli(call);
  ASSERT_FALSE(run.timedOut) << run.err;
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("get NAS new ip error."), std::string::npos) << run.err;
  std::vector<std::string> at;
  for (const SimRequest &request : m_sim.Requests()) {
    if (request.transport == "tcp" && request.bytes.find("cmd=logout&") != std::string::npos) {
      at.push_back(request.local.substr(0, request.local.find(':')));
    }
  }
  EXPECT_EQ(at, (std::vector<std::string>{"127.0.0.21", "127.0.0.2"}));
}

// Two devices answer with one hardware address from different addresses
// (one simulator each): the first to answer may be an impostor. The box is
// listed once with a warning; named by its name or hardware address it gets
// no credentials; named by an address, that address gets them.
class CliImpostorTest : public CliLoginsTest {
protected:
  void SetUp() override {
    json impostor = NasSimProcess::MakeBox("HOME", "127.0.0.71", "02:aa:00:00:00:70", "x");
    json real = NasSimProcess::MakeBox("HOME", "127.0.0.72", "02:aa:00:00:00:70", kAlphaPassword);
    real["faults"] = {{"udp", {{"probe", {{"delay_ms", 300}}}}}};
    ASSERT_TRUE(m_sim.Start(NasSimProcess::MakeState({impostor}))) << m_sim.Error();
    ASSERT_TRUE(m_real.Start(NasSimProcess::MakeState({real}))) << m_real.Error();
  }

  static std::size_t CredentialChecks(const NasSimProcess &sim) {
    std::size_t count = 0;
    for (const SimRequest &request : sim.Requests()) {
      count += request.transport == "udp" && !request.bytes.empty() && request.bytes[0] == 0x03;
    }
    return count;
  }

  NasSimProcess m_real;
};

TEST_F(CliImpostorTest, AnAmbiguousBoxGetsCredentialsOnlyWhenNamedByAddress) {
  CliRun run = Cli({"discover"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.find("HOME"), run.out.rfind("HOME")) << "listed once: " << run.out;
  EXPECT_NE(run.out.find("WARNING: this hardware address also answers from 127.0.0.72"),
            std::string::npos)
      << run.out;

  for (const char *word : {"HOME", "02:aa:00:00:00:70"}) {
    SCOPED_TRACE(word);
    run = Cli({"connect", word}, kAlphaPassword);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find("Name the NAS by its address"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("127.0.0.71, 127.0.0.72"), std::string::npos) << run.err;
    EXPECT_EQ(CredentialChecks(m_sim) + CredentialChecks(m_real), 0u);
  }

  // The later device, named by its address.
  run = Cli({"connect", "127.0.0.72"}, kAlphaPassword);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("IP:127.0.0.72"), std::string::npos) << run.out;
  EXPECT_EQ(Count(m_real, "HOME", "tcp", "cmd=login&"), 1u);
  EXPECT_EQ(Count(m_sim, "HOME", "tcp", "cmd=login&"), 0u);
}

} // namespace
} // namespace corvesta::test
