// corvesta-cli run as a process against simulated boxes.

#include <gtest/gtest.h>

#include <cstdlib>
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
constexpr char kBobPassword[] = "bobpass12";
constexpr char kGatewayWarning[] =
    "Warning - The default gateway is not on the same network segment(subnet)that is defined by "
    "the IP address and subnet mask. Do you want to save this configuration?";

json AlphaBox() {
  json box = NasSimProcess::MakeBox("ALPHA", "127.0.0.2", "02:aa:00:00:00:02", kAlphaPassword);
  box["accounts"].push_back(
      {{"user", "bob"}, {"password", kBobPassword}, {"access", "1,0,0,0,1,1"}});
  box["workgroup"] = "OFFICE";
  box["description"] = "first floor";
  box["timezone"] = 21;
  box["disks"] = json::array(
      {{{"device", "sda"}, {"size_gib", 1000}}, {{"device", "sdb"}, {"size_gib", 1000}}});
  box["volumes"] = json::array({{{"volume", 1},
                                 {"mode", "raid1"},
                                 {"file_system", "ext4"},
                                 {"disks", "sdasdb"},
                                 {"total_kib", 997LL * 1024 * 1024},
                                 {"used_kib", 100LL * 1024 * 1024}}});
  box["shares"] = json::array({{{"name", "Public"}}, {{"name", "Media"}}});
  return box;
}

json BlankBox() {
  json box = NasSimProcess::MakeBox("BLANK", "127.0.0.4", "02:aa:00:00:00:04", "admin");
  box["disks"] =
      json::array({{{"device", "sda"}, {"size_gib", 500}}, {{"device", "sdb"}, {"size_gib", 500}}});
  box["format_seconds"] = 2;
  return box;
}

// In 127.5.0.0/16: outside the subnet of this namespace's loopback adapter.
json FarBox() {
  json box = NasSimProcess::MakeBox("FARAWAY", "127.5.0.7", "02:aa:00:00:00:07", "admin");
  box["netmask"] = "255.255.0.0";
  box["gateway"] = "";
  box["accounts"].push_back(
      {{"user", "carol"}, {"password", "carolpass1"}, {"access", "1,1,1,1,1,1"}});
  return box;
}

class CliBoxTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_sim.Start(NasSimProcess::MakeState({AlphaBox(), BlankBox(), FarBox()})))
        << m_sim.Error();
  }

  // corvesta-cli with its own settings folder; `password` goes into
  // CORVESTA_PASSWORD unless empty.
  CliRun Cli(std::vector<std::string> args, const std::string &password = "",
             const std::string &input = "") {
    CliCall call;
    call.args = std::move(args);
    call.env["XDG_CONFIG_HOME"] = m_config.Path().string();
    if (!password.empty()) {
      call.env["CORVESTA_PASSWORD"] = password;
    }
    call.input = input;
    CliRun run = RunCli(call);
    EXPECT_FALSE(run.timedOut) << "corvesta-cli did not end: " << run.err;
    return run;
  }

  std::string Settings() const {
    return test::ReadFileBytes(m_config.Path() / "Utility" / "Utility.ini");
  }

  void WriteSettings(const std::string &text) {
    std::filesystem::create_directories(m_config.Path() / "Utility");
    std::ofstream(m_config.Path() / "Utility" / "Utility.ini") << text;
  }

  // The web requests the box received whose text holds `fragment`.
  std::size_t WebRequestsWith(const std::string &box, const std::string &fragment) const {
    std::size_t count = 0;
    for (const SimRequest &request : m_sim.Requests()) {
      if (request.box == box && request.transport == "tcp" &&
          request.bytes.find(fragment) != std::string::npos) {
        ++count;
      }
    }
    return count;
  }

  json Box(const std::string &name) {
    auto box = m_sim.Box(name);
    EXPECT_TRUE(box.has_value()) << m_sim.Error();
    return box.value_or(json::object());
  }

  TempFolder m_config;
  NasSimProcess m_sim;
};

TEST_F(CliBoxTest, DiscoverPrintsOneLinePerBoxWithItsSubnet) {
  const CliRun run = Cli({"discover"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("ALPHA  ip 127.0.0.2  mask 255.0.0.0  gateway 127.0.0.1  static  "
                         "02:aa:00:00:00:02  in subnet\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("FARAWAY  ip 127.5.0.7  mask 255.255.0.0  gateway -  static  "
                         "02:aa:00:00:00:07  NOT in this PC's subnet\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("BLANK  ip 127.0.0.4"), std::string::npos) << run.out;
}

TEST_F(CliBoxTest, DiscoverJsonGivesEveryFieldOfEachBox) {
  const CliRun run = Cli({"discover", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  const json boxes = json::parse(run.out, nullptr, false);
  ASSERT_TRUE(boxes.is_array()) << run.out;
  ASSERT_EQ(boxes.size(), 3u);
  std::map<std::string, json> byName;
  for (const json &box : boxes) {
    byName[box.at("name").get<std::string>()] = box;
  }
  const json expectedAlpha = {{"name", "ALPHA"},        {"ip", "127.0.0.2"},
                              {"netmask", "255.0.0.0"}, {"gateway", "127.0.0.1"},
                              {"dhcp", false},          {"mac", "02:aa:00:00:00:02"},
                              {"adapter", "127.0.0.1"}, {"in_subnet", true}};
  EXPECT_EQ(byName["ALPHA"], expectedAlpha);
  EXPECT_EQ(byName["FARAWAY"].at("in_subnet"), false);
  EXPECT_EQ(byName["FARAWAY"].at("gateway"), "");
}

TEST_F(CliBoxTest, ConnectShowsTheAddressAndVolumesAndLogsOut) {
  const CliRun run = Cli({"connect", "ALPHA"}, kAlphaPassword);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("IP:127.0.0.2\nMask:255.0.0.0\nGateway:127.0.0.1\n"), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("Volume_1  100G Used/997G Available  (10%)"), std::string::npos)
      << run.out;
  EXPECT_EQ(WebRequestsWith("ALPHA", "cmd=login&username=admin"), 1u);
  EXPECT_EQ(WebRequestsWith("ALPHA", "cmd=logout&name=admin"), 1u);
  // The first-run offer waits for a person at a terminal.
  EXPECT_EQ(Settings().find("FirstOpen"), std::string::npos) << Settings();
}

TEST_F(CliBoxTest, RememberedLoginIsUsedAndEmptiedWhenTheBoxRefusesIt) {
  CliRun run = Cli({"connect", "ALPHA", "--remember"}, kAlphaPassword);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(Settings().find("UserName=admin"), std::string::npos) << Settings();

  // No password given: the remembered one logs in.
  run = Cli({"connect", "127.0.0.2"});
  EXPECT_EQ(run.status, 0) << run.err;

  // A mistyped password is refused, and the remembered one stays.
  run = Cli({"connect", "ALPHA"}, "wrongpass");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Username or password error."), std::string::npos) << run.err;
  EXPECT_NE(Settings().find("UserName=admin"), std::string::npos) << Settings();

  // The box refuses the remembered pair itself: it is emptied.
  ASSERT_TRUE(m_sim.SetFaults("ALPHA", {{"refuse_credentials", true}})) << m_sim.Error();
  run = Cli({"connect", "ALPHA"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Username or password error."), std::string::npos) << run.err;
  const std::string settings = Settings();
  EXPECT_EQ(settings.find("UserName=admin"), std::string::npos) << settings;
  EXPECT_NE(settings.find("UserName=\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find("PassWord=\n"), std::string::npos) << settings;
  // The refused run never reached the web login.
  EXPECT_EQ(WebRequestsWith("ALPHA", "cmd=login&username="), 2u);
}

TEST_F(CliBoxTest, UserSeesTheCentersHisRightsOpen) {
  const CliRun run = Cli({"connect", "ALPHA", "--user", "bob", "--json"}, kBobPassword);
  ASSERT_EQ(run.status, 0) << run.err;
  const json result = json::parse(run.out, nullptr, false);
  ASSERT_TRUE(result.is_object()) << run.out;
  EXPECT_EQ(result.at("user"), "bob");
  EXPECT_EQ(result.at("administrator"), false);
  const json access = {
      {"download", false}, {"backup", false}, {"management", true}, {"surveillance", true}};
  EXPECT_EQ(result.at("access"), access);
  EXPECT_EQ(result.at("volumes").size(), 1u);
  EXPECT_EQ(WebRequestsWith("ALPHA", "cmd=cgi_get_user_access&name=bob"), 1u);
}

TEST_F(CliBoxTest, BoxOutsideTheSubnet) {
  // The administrator is offered a new address; without --yes nothing happens.
  CliRun run = Cli({"connect", "FARAWAY"}, "admin");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Not the same subnet, do you want to change NAS IP address?"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("--yes"), std::string::npos) << run.err;
  // Another user is told he lacks the rights.
  run = Cli({"connect", "FARAWAY", "--user", "carol"}, "carolpass1");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Not the same network segment, you need adminstrator privileges to "
                         "change the IP of NAS."),
            std::string::npos)
      << run.err;
  EXPECT_EQ(WebRequestsWith("FARAWAY", "cmd=login"), 0u);
}

// With no password given, none remembered for the user and nobody at a
// terminal, the login is refused before the box is sent anything: an empty
// password would only be refused as a wrong one.
TEST_F(CliBoxTest, WithoutAPasswordSourceNothingIsSent) {
  WriteSettings("[Current]\nServName=ALPHA\n[ALPHA]\nUserName=admin\nPassWord=" +
                Base64Encode(kAlphaPassword) + "\n");
  const std::vector<std::string> calls[] = {
      {"connect", "FARAWAY"},                // nothing remembered for the box
      {"connect", "ALPHA", "--user", "bob"}, // remembered for another user
      {"format", "BLANK", "raid1", "--yes"},
  };
  for (const std::vector<std::string> &args : calls) {
    SCOPED_TRACE(args[1]);
    const CliRun run = Cli(args);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find("--password-stdin"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("CORVESTA_PASSWORD"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Username or password error."), std::string::npos) << run.err;
  }
  std::size_t checks = 0;
  for (const SimRequest &request : m_sim.Requests()) {
    checks += request.transport == "udp" && !request.bytes.empty() && request.bytes[0] == 0x03;
  }
  EXPECT_EQ(checks, 0u) << "no credential check was sent";
  EXPECT_EQ(WebRequestsWith("BLANK", "cmd="), 0u);
  // The remembered login of ALPHA stays.
  EXPECT_NE(Settings().find("UserName=admin\n"), std::string::npos) << Settings();
}

// --remember writes the login once the box has accepted it, also when the
// box then lies outside the subnet and the offer of an address is declined.
TEST_F(CliBoxTest, AnAcceptedLoginOutsideTheSubnetIsRemembered) {
  const CliRun run = Cli({"connect", "FARAWAY", "--remember"}, "admin");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Not the same subnet"), std::string::npos) << run.err;
  const std::string settings = Settings();
  EXPECT_NE(settings.find("[FARAWAY]\nUserName=admin\nPassWord=" + Base64Encode("admin") + "\n"),
            std::string::npos)
      << settings;
}

struct SettingCase {
  const char *label;
  std::vector<std::string> args;
  std::string input;   // standard input
  std::string request; // a fragment of the request the box must receive
  const char *field;   // box state to check afterwards
  json expected;
};

void PrintTo(const SettingCase &c, std::ostream *os) {
  *os << c.label;
}

class CliSettingTest : public CliBoxTest, public ::testing::WithParamInterface<SettingCase> {};

TEST_P(CliSettingTest, TheBoxReceivesAndKeepsTheSetting) {
  const SettingCase &c = GetParam();
  std::vector<std::string> args = c.args;
  const CliRun run = Cli(args, kAlphaPassword, c.input);
  EXPECT_EQ(run.status, 0) << run.err << run.out;
  EXPECT_EQ(WebRequestsWith("ALPHA", c.request), 1u) << c.request;
  const json box = Box("02:aa:00:00:00:02");
  if (std::string(c.field) == "password") {
    EXPECT_EQ(box.at("accounts").at(0).at("password"), c.expected);
  } else {
    EXPECT_EQ(box.at(c.field), c.expected) << box.dump();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliSettingTest,
    ::testing::Values(SettingCase{"Identity",
                                  {"identity", "ALPHA", "--name", "NEWALPHA", "--workgroup",
                                   "TEAM"},
                                  "",
                                  "cmd=cgi_device&description=first floor",
                                  "name",
                                  "NEWALPHA"},
                      SettingCase{"IdentityKeepsWhatIsNotGiven",
                                  {"identity", "ALPHA", "--description", "second floor"},
                                  "",
                                  "cmd=cgi_device&description=second floor",
                                  "workgroup",
                                  "OFFICE"},
                      SettingCase{"TimeZone",
                                  {"timezone", "ALPHA", "--set", "37"},
                                  "",
                                  "cmd=cgi_timezone&f_timezone=37",
                                  "timezone",
                                  37},
                      SettingCase{"Password",
                                  {"password", "ALPHA"},
                                  "newsecret9\n",
                                  "cmd=cgi_chg_user_pw&uname=admin&opw=alphapass1&pw=newsecret9",
                                  "password",
                                  "newsecret9"}),
    [](const auto &testCase) { return std::string(testCase.param.label); });

TEST_F(CliBoxTest, NetworkSettingsAreFollowedByPollingAndAFreshLogin) {
  const CliRun run = Cli({"network", "ALPHA", "--static", "--ip", "127.0.0.21", "--mask",
                          "255.0.0.0", "--gateway", "127.0.0.1"},
                         kAlphaPassword);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("The NAS answers at 127.0.0.21"), std::string::npos) << run.out;
  EXPECT_EQ(WebRequestsWith("ALPHA", "cmd=cgi_ip&f_dhcp_enable=0&f_ip=127.0.0.21&f_gateway="
                                     "127.0.0.1&f_netmask=255.0.0.0"),
            1u);
  EXPECT_EQ(Box("ALPHA").at("ip"), "127.0.0.21");
  const auto requests = m_sim.Requests();
  std::vector<std::string> order;
  for (const SimRequest &request : requests) {
    for (const char *cmd : {"cmd=cgi_setip_lock", "cmd=cgi_ip&", "cmd=cgi_get_lan_xml2",
                            "cmd=login&", "cmd=logout&"}) {
      if (request.transport == "tcp" && request.bytes.find(cmd) != std::string::npos) {
        order.emplace_back(cmd);
      }
    }
  }
  // Login, lock, settings, at least one poll, the login at the new address, logout.
  ASSERT_GE(order.size(), 6u);
  EXPECT_EQ(order[0], "cmd=login&");
  EXPECT_EQ(order[1], "cmd=cgi_setip_lock");
  EXPECT_EQ(order[2], "cmd=cgi_ip&");
  EXPECT_EQ(order[3], "cmd=cgi_get_lan_xml2");
  EXPECT_EQ(order[order.size() - 2], "cmd=login&");
  EXPECT_EQ(order.back(), "cmd=logout&");
}

TEST_F(CliBoxTest, GatewayQuestionNeedsYes) {
  const std::vector<std::string> args{"network",       "ALPHA",      "--static",
                                      "--ip",          "127.0.0.20", "--mask",
                                      "255.255.255.0", "--gateway",  "127.0.1.1"};
  CliRun run = Cli(args, kAlphaPassword);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(kGatewayWarning), std::string::npos) << run.err;
  EXPECT_EQ(WebRequestsWith("ALPHA", "cmd=cgi_setip_lock"), 0u);
  EXPECT_EQ(WebRequestsWith("ALPHA", "cmd=cgi_ip&"), 0u);
  EXPECT_EQ(Box("ALPHA").at("ip"), "127.0.0.2");

  std::vector<std::string> confirmed = args;
  confirmed.emplace_back("--yes");
  run = Cli(confirmed, kAlphaPassword);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Box("02:aa:00:00:00:02").at("ip"), "127.0.0.20");
}

// The window's warning asks for its OK button; the terminal is told what
// --yes does instead.
TEST_F(CliBoxTest, RebuildQuestionNeedsYes) {
  const CliRun run = Cli({"format", "BLANK", "raid1"}, "admin");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Formatting rebuilds the disks and erases everything on them. Answer y "
                         "to continue; --yes gives that answer without asking."),
            std::string::npos)
      << run.err;
  EXPECT_EQ(run.err.find("\"OK\""), std::string::npos) << run.err;
  // The volume list as the box reads it is for --verbose.
  EXPECT_EQ(run.out.find("Volumes to create"), std::string::npos) << run.out;
  EXPECT_EQ(WebRequestsWith("BLANK", "cmd=cgi_AJAXPlorer_Stop"), 0u);
  EXPECT_EQ(WebRequestsWith("BLANK", "cmd=cgi_FMT_Create_DiskMGR"), 0u);
  EXPECT_TRUE(Box("BLANK").at("volumes").empty());
}

TEST_F(CliBoxTest, FormatRunsTheWholeChainAndShowsTheNewVolume) {
  const CliRun run = Cli({"format", "BLANK", "raid1", "--yes", "--verbose"}, "admin");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(
      run.out.find("Volumes to create: 1,raid1,ext4,497,sdasdb,none,0,1,497,0,none,1,0,0,null"),
      std::string::npos)
      << run.out;
  // The completion in the terminal's words: no OK button to press.
  EXPECT_NE(run.out.find("Complete\nThe volumes have been created and formatted.\n"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("OK button"), std::string::npos) << run.out;
  EXPECT_NE(run.err.find("Format Hard Drives"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("Volume_1  0G Used/497G Available"), std::string::npos) << run.out;
  for (const char *step :
       {"cmd=cgi_AJAXPlorer_Stop", "cmd=cgi_FMT_Create_DiskMGR", "cmd=cgi_Disk_Remount",
        "cmd=cgi_Check_Disk_Remount_State", "cmd=cgi_FMT_Disk_Finish"}) {
    EXPECT_EQ(WebRequestsWith("BLANK", step), 1u) << step;
  }
  const json volumes = Box("BLANK").at("volumes");
  ASSERT_EQ(volumes.size(), 1u) << volumes.dump();
  EXPECT_EQ(volumes[0].at("mode"), "raid1");
  EXPECT_EQ(volumes[0].at("total_kib"), 497LL * 1024 * 1024);
}

TEST_F(CliBoxTest, FailedFormattingStillRemountsAndEndsWithFailure) {
  ASSERT_TRUE(m_sim.SetFaults("BLANK", {{"format_errcode", 2}})) << m_sim.Error();
  const CliRun run = Cli({"format", "BLANK", "standalone", "--yes"}, "admin");
  EXPECT_EQ(run.status, 1) << run.err;
  const auto told = run.err.find("format error.");
  ASSERT_NE(told, std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("format error.", told + 1), std::string::npos)
      << "told twice: " << run.err;
  // No congratulations for volumes the box did not make.
  EXPECT_EQ(run.out.find("Congratulations"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("Complete"), std::string::npos) << run.out;
  for (const char *step :
       {"cmd=cgi_Disk_Remount", "cmd=cgi_Check_Disk_Remount_State", "cmd=cgi_FMT_Disk_Finish"}) {
    EXPECT_EQ(WebRequestsWith("BLANK", step), 1u) << step;
  }
}

// On a terminal the progress line names the finishing steps "Complete" only
// when the box formatted without an error.
TEST_F(CliBoxTest, TheProgressLineSaysCompleteOnlyAfterAFormatWithoutError) {
  struct Case {
    const char *label;
    int errcode; // 0: the box formats without a fault
    bool complete;
  };
  for (const Case &c : {Case{"formatted", 0, true}, Case{"format error", 2, false}}) {
    SCOPED_TRACE(c.label);
    // The remount answers late, so the finishing steps' line is drawn.
    json faults = {{"http", {{"cgi_Disk_Remount", {{"delay_ms", 400}}}}}};
    if (c.errcode != 0) {
      faults["format_errcode"] = c.errcode;
    }
    ASSERT_TRUE(m_sim.SetFaults("BLANK", faults)) << m_sim.Error();
    CliCall call;
    call.args = {"format", "BLANK", "standalone", "--yes"};
    call.env = {{"XDG_CONFIG_HOME", m_config.Path().string()}, {"CORVESTA_PASSWORD", "admin"}};
    call.errorOnTerminal = true;
    const CliRun run = RunCli(call);
    ASSERT_FALSE(run.timedOut) << run.err;
    EXPECT_EQ(run.status, c.complete ? 0 : 1) << run.err;
    EXPECT_NE(run.err.find("Format Hard Drives"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Complete") != std::string::npos, c.complete) << run.err;
  }
}

// A request that fails on its way ends without an answer; the wait ends
// there instead of sitting out its whole limit.
TEST_F(CliBoxTest, LoginThatGetsNoReplyEndsWithLoginFailed) {
  ASSERT_TRUE(m_sim.SetFaults("ALPHA", {{"http", {{"login", {{"drop", true}}}}}})) << m_sim.Error();
  CliCall call;
  call.args = {"connect", "ALPHA"};
  call.env = {{"XDG_CONFIG_HOME", m_config.Path().string()}, {"CORVESTA_PASSWORD", kAlphaPassword}};
  call.limit = seconds(30);
  const CliRun run = RunCli(call);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Login failed."), std::string::npos) << run.err;
}

struct RefusedCase {
  const char *label;
  std::vector<std::string> args;
  std::string input;
  int status;
  std::string message; // on standard error
};

void PrintTo(const RefusedCase &c, std::ostream *os) {
  *os << c.label;
}

class CliRefusedTest : public CliBoxTest, public ::testing::WithParamInterface<RefusedCase> {};

// Input that cannot be used is refused before the box is changed.
TEST_P(CliRefusedTest, NothingIsChanged) {
  const RefusedCase &c = GetParam();
  const json before = Box("ALPHA");
  const CliRun run = Cli(c.args, kAlphaPassword, c.input);
  EXPECT_EQ(run.status, c.status) << run.err;
  EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  for (const char *change : {"cmd=cgi_device", "cmd=cgi_timezone", "cmd=cgi_chg_user_pw",
                             "cmd=cgi_ip&", "cmd=cgi_setip_lock", "cmd=cgi_FMT"}) {
    EXPECT_EQ(WebRequestsWith("ALPHA", change), 0u) << change;
  }
  json after = Box("ALPHA");
  EXPECT_EQ(after.at("name"), before.at("name"));
  EXPECT_EQ(after.at("accounts"), before.at("accounts"));
}

INSTANTIATE_TEST_SUITE_P(
    Input, CliRefusedTest,
    ::testing::Values(
        RefusedCase{"ForbiddenCharacterInTheWorkgroup",
                    {"identity", "ALPHA", "--name", "a#b", "--workgroup", "c*d"},
                    "",
                    2,
                    "The Workgroup must not include the following "
                    "characters:*+=|/\\:';<>?,\"$%&[]{}#@!~()^.."},
        // A description is sent unencoded: "&" and "=" would add fields.
        RefusedCase{"DescriptionThatWouldAddAField",
                    {"identity", "ALPHA", "--description", "x&hostname=EVIL"},
                    "",
                    2,
                    "The Description must not include the following characters:&=."},
        RefusedCase{"DescriptionWithAnEqualsSign",
                    {"identity", "ALPHA", "--description", "a=b"},
                    "",
                    2,
                    "The Description must not include the following characters:&=."},
        // The box's replies could never carry a four-byte character back.
        RefusedCase{"EmojiInTheDescription",
                    {"identity", "ALPHA", "--description", "photos \xf0\x9f\x93\x81"},
                    "",
                    2,
                    "The Description must not include control characters or characters the NAS "
                    "cannot store"},
        RefusedCase{"ControlCharacterInTheName",
                    {"identity", "ALPHA", "--name", "ab\tc"},
                    "",
                    2,
                    "The Name must not include control characters"},
        RefusedCase{"LineBreakInTheDescription",
                    {"identity", "ALPHA", "--description", "one\ntwo"},
                    "",
                    2,
                    "The Description must not include control characters"},
        RefusedCase{"Latin1BytesInTheWorkgroup",
                    {"identity", "ALPHA", "--workgroup", "B\xfcro"},
                    "",
                    2,
                    "The Workgroup is not valid text."},
        RefusedCase{
            "EmptyName", {"identity", "ALPHA", "--name", ""}, "", 2, "Enter a name for the NAS."},
        RefusedCase{
            "MaskOf32Bits",
            {"network", "ALPHA", "--static", "--ip", "127.0.0.21", "--mask", "255.255.255.255"},
            "",
            2,
            "leaves no room for the NAS and its gateway"},
        RefusedCase{"MaskOf31Bits",
                    {"network", "ALPHA", "--static", "--ip", "127.0.0.21", "--mask",
                     "255.255.255.254", "--gateway", "127.0.0.20"},
                    "",
                    2,
                    "leaves no room for the NAS and its gateway"},
        RefusedCase{"GatewayIsTheBoxItself",
                    {"network", "ALPHA", "--static", "--ip", "127.0.0.21", "--mask", "255.0.0.0",
                     "--gateway", "127.0.0.21"},
                    "",
                    2,
                    "The gateway must not be the NAS's own IP address."},
        // The gateway kept from the box is held to the same rule.
        RefusedCase{"KeptGatewayIsTheNewAddress",
                    {"network", "ALPHA", "--static", "--ip", "127.0.0.1", "--mask", "255.0.0.0"},
                    "",
                    2,
                    "The gateway must not be the NAS's own IP address."},
        RefusedCase{
            "MaskOf32BitsByDatagram",
            {"set-ip", "ALPHA", "--static", "--ip", "10.1.2.3", "--mask", "255.255.255.255"},
            "",
            2,
            "leaves no room for the NAS and its gateway"},
        RefusedCase{"GatewayIsTheBoxByDatagram",
                    {"set-ip", "ALPHA", "--static", "--ip", "10.1.2.3", "--mask", "255.0.0.0",
                     "--gateway", "10.1.2.3"},
                    "",
                    2,
                    "The gateway must not be the NAS's own IP address."},
        RefusedCase{"NameTooLong",
                    {"identity", "ALPHA", "--name", "ABCDEFGHIJKLMNOP"},
                    "",
                    2,
                    "at most 15 bytes"},
        RefusedCase{"ShortPassword",
                    {"password", "ALPHA"},
                    "abc1234\n",
                    2,
                    "The password has to be at least 8 characters"},
        RefusedCase{"PasswordWithASpace",
                    {"password", "ALPHA"},
                    "abcd 1234\n",
                    2,
                    "The password has to be at least 8 characters"},
        RefusedCase{"StdinPasswordWithAZeroByte",
                    {"connect", "ALPHA", "--password-stdin"},
                    std::string("alpha\0pass\n", 11),
                    2,
                    "--password-stdin: the line holds a zero byte"},
        RefusedCase{"StdinPasswordBeyondTheReadLimit",
                    {"connect", "ALPHA", "--password-stdin"},
                    std::string(300, 'a') + "\n",
                    2,
                    "--password-stdin: the line is longer than 256 bytes"},
        RefusedCase{"NewPasswordWithAZeroByte",
                    {"password", "ALPHA"},
                    std::string("abcd\0efgh\n", 10),
                    2,
                    "the line holds a zero byte"},
        RefusedCase{
            "TimeZoneOutOfRange", {"timezone", "ALPHA", "--set", "97"}, "", 2, "from 1 to 96"},
        RefusedCase{"AddressFieldTooLarge",
                    {"network", "ALPHA", "--static", "--ip", "127.0.0.300", "--mask", "255.0.0.0"},
                    "",
                    2,
                    "300 is not a valid entry."},
        RefusedCase{"BadMask",
                    {"network", "ALPHA", "--static", "--ip", "10.0.0.5", "--mask", "255.0.255.0"},
                    "",
                    2,
                    "Please enter a valid address in SubnetMask."},
        RefusedCase{"LoopbackAddressByDatagram",
                    {"set-ip", "ALPHA", "--static", "--ip", "127.0.0.9", "--mask", "255.0.0.0"},
                    "",
                    2,
                    "IP address input error. Please try again."},
        RefusedCase{"UserMayNotFormat",
                    {"format", "ALPHA", "raid0", "--user", "bob"},
                    "",
                    1,
                    "Only the administrator"},
        RefusedCase{"UnknownBox", {"connect", "NOSUCHBOX"}, "", 3, "No NAS named \"NOSUCHBOX\""},
        RefusedCase{"UnknownOption",
                    {"connect", "ALPHA", "--colour"},
                    "",
                    2,
                    "takes no option \"--colour\""},
        RefusedCase{"UnknownDiskMode", {"format", "ALPHA", "raid5"}, "", 2, "standalone, jbod"},
        RefusedCase{"TwoBoxes", {"info", "ALPHA", "BLANK"}, "", 2, "usage: corvesta-cli info BOX"}),
    [](const auto &testCase) { return std::string(testCase.param.label); });

// Two boxes that share a name (one simulator each, as one simulator keeps
// names apart); the second answers the probe 1.5 s late, well inside the
// discovery's waits. A command that names a box by its address or hardware
// address may end the discovery once that box has answered; one that names
// it by name must hear both and refuse.
class CliSharedNameTest : public CliBoxTest {
protected:
  void SetUp() override {
    json quick = NasSimProcess::MakeBox("TWIN", "127.0.0.61", "02:aa:00:00:00:61");
    json slow = NasSimProcess::MakeBox("TWIN", "127.0.0.62", "02:aa:00:00:00:62");
    slow["faults"] = {{"udp", {{"probe", {{"delay_ms", 1500}}}}}};
    ASSERT_TRUE(m_sim.Start(NasSimProcess::MakeState({quick}))) << m_sim.Error();
    ASSERT_TRUE(m_slowTwin.Start(NasSimProcess::MakeState({slow}))) << m_slowTwin.Error();
  }

  std::size_t LoginsAtTheSlowTwin() const {
    std::size_t count = 0;
    for (const SimRequest &request : m_slowTwin.Requests()) {
      count += request.transport == "tcp" && request.bytes.find("cmd=login") != std::string::npos;
    }
    return count;
  }

  NasSimProcess m_slowTwin;
};

struct BoxWordCase {
  const char *what;
  const char *word;
  int status;
  std::vector<std::string> texts; // on standard output when it succeeds, else on standard error
};

TEST_F(CliSharedNameTest, AddressesEndTheSearchEarlyAndASharedNameIsRefused) {
  const BoxWordCase cases[] = {
      {"a shared name is refused, also when one of its boxes answers late",
       "TWIN",
       2,
       {"Several NAS are named \"TWIN\"", "127.0.0.61  02:aa:00:00:00:61",
        "127.0.0.62  02:aa:00:00:00:62"}},
      {"the late box by its address", "127.0.0.62", 0, {"IP:127.0.0.62\n"}},
      {"the quick box by its hardware address in another form",
       "02-AA-00-00-00-61",
       0,
       {"IP:127.0.0.61\n"}},
  };
  for (const BoxWordCase &c : cases) {
    SCOPED_TRACE(c.what);
    const CliRun run = Cli({"connect", c.word}, "admin");
    EXPECT_EQ(run.status, c.status) << run.err;
    for (const std::string &text : c.texts) {
      const std::string &where = c.status == 0 ? run.out : run.err;
      EXPECT_NE(where.find(text), std::string::npos) << where;
    }
    if (c.status != 0) {
      EXPECT_EQ(WebRequestsWith("TWIN", "cmd=login"), 0u);
      EXPECT_EQ(LoginsAtTheSlowTwin(), 0u);
    }
  }
}

TEST_F(CliBoxTest, CenterLinksCarryTheLoginAsTheBoxExpects) {
  CliRun run = Cli({"center", "ALPHA", "management", "--print"}, kAlphaPassword);
  EXPECT_EQ(run.status, 0) << run.err;
  // Base64 of "alphapass1".
  EXPECT_EQ(run.out, "http://127.0.0.2/web/utility_redirect.html?m=2&u=admin&p=YWxwaGFwYXNzMQ==&"
                     "d=status\n");
  run = Cli({"center", "ALPHA", "file", "--print"}, kAlphaPassword);
  EXPECT_EQ(run.out, "http://127.0.0.2/web/utility_redirect.html?m=1&u=admin&p=alphapass1\n");
}

TEST_F(CliBoxTest, SharesAreListedWithTheirNetworkPaths) {
  const CliRun run = Cli({"shares", "ALPHA"}, kAlphaPassword);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Public  \\\\127.0.0.2\\Public\nMedia  \\\\127.0.0.2\\Media\n");
}

TEST_F(CliBoxTest, MessagesFollowTheLanguageOfTheSettingsFile) {
  WriteSettings("[Language]\nLanguage=GER\n");
  const CliRun run = Cli({"connect", "ALPHA"}, "wrongpass");
  EXPECT_EQ(run.status, 1);
  EXPECT_FALSE(run.err.empty());
  EXPECT_EQ(run.err.find("Username or password error."), std::string::npos) << run.err;
}

// Two adapters: loopback, and a wire (a veth pair) whose far end carries the
// address the link-local box is given. The far end stands for the box's side
// of the LAN, not for an adapter of this PC, so it has no multicast flag;
// otherwise the box's replies, looped back on its own end, would be heard
// there too, through an adapter that cannot reach the box.
class CliLanTest : public ::testing::Test {
protected:
  void SetUp() override {
    // A pair left by an earlier run that ended early goes first.
    std::system("ip link del corvcli0 2>/dev/null");
    if (std::system("ip link add corvcli0 type veth peer name corvcli1 2>/dev/null && "
                    "ip link set corvcli0 up && ip link set corvcli1 multicast off up && "
                    "ip addr add 10.78.0.1/24 dev corvcli0 && "
                    "ip addr add 10.78.0.9/24 dev corvcli1 && "
                    "ip addr add 169.254.61.5/16 dev corvcli1 && "
                    "for f in all corvcli0 corvcli1; do "
                    "echo 1 > /proc/sys/net/ipv4/conf/$f/accept_local && "
                    "echo 0 > /proc/sys/net/ipv4/conf/$f/rp_filter; done") != 0) {
      std::system("ip link del corvcli0 2>/dev/null");
      GTEST_SKIP() << "cannot make a veth pair in this namespace";
    }
    m_made = true;
    json box = NasSimProcess::MakeBox("LINKLOCAL", "169.254.61.5", "02:aa:00:00:00:61", "admin");
    box["netmask"] = "255.255.0.0";
    box["gateway"] = "";
    box["dhcp"] = true;
    ASSERT_TRUE(m_sim.Start(NasSimProcess::MakeState({box}))) << m_sim.Error();
  }
  void TearDown() override {
    m_sim.Stop();
    if (m_made) {
      std::system("ip link del corvcli0 2>/dev/null");
    }
  }

  CliRun Cli(std::vector<std::string> args) {
    CliCall call;
    call.args = std::move(args);
    call.env["XDG_CONFIG_HOME"] = m_config.Path().string();
    call.env["CORVESTA_PASSWORD"] = "admin";
    CliRun run = RunCli(call);
    EXPECT_FALSE(run.timedOut) << run.err;
    return run;
  }

  bool m_made = false;
  TempFolder m_config;
  NasSimProcess m_sim;
};

TEST_F(CliLanTest, SetIpBringsTheLinkLocalBoxIntoTheSubnet) {
  CliRun run = Cli({"discover", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  json boxes = json::parse(run.out, nullptr, false);
  ASSERT_EQ(boxes.size(), 1u) << run.out;
  EXPECT_EQ(boxes[0].at("in_subnet"), false);

  run = Cli({"set-ip", "02:AA:00:00:00:61", "--static", "--ip", "10.78.0.9", "--mask",
             "255.255.255.0", "--gateway", "10.78.0.1"});
  ASSERT_EQ(run.status, 0) << run.err;

  run = Cli({"discover", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  boxes = json::parse(run.out, nullptr, false);
  ASSERT_EQ(boxes.size(), 1u) << run.out;
  const json expected = {
      {"name", "LINKLOCAL"},    {"ip", "10.78.0.9"}, {"netmask", "255.255.255.0"},
      {"gateway", "10.78.0.1"}, {"dhcp", false},     {"mac", "02:aa:00:00:00:61"},
      {"adapter", "10.78.0.1"}, {"in_subnet", true}};
  EXPECT_EQ(boxes[0], expected);

  run = Cli({"connect", "LINKLOCAL"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("IP:10.78.0.9"), std::string::npos) << run.out;
}

struct SetIpRefusal {
  const char *what;
  std::vector<std::string> extra; // more options
  const char *password;           // CORVESTA_PASSWORD; "" for none
  int status;
  const char *message;
};

// The box takes a new address only after it accepted the administrator's
// password, as in the windows; nothing is sent before.
TEST_F(CliLanTest, SetIpNeedsTheAdministratorsAcceptedPassword) {
  const SetIpRefusal cases[] = {
      {"no password", {}, "", 2, "--password-stdin"},
      {"a wrong password", {}, "wrongpass", 1, "Username or password error."},
      {"another user", {"--user", "carol"}, "carolpass1", 1, "Only the administrator"},
  };
  for (const SetIpRefusal &c : cases) {
    SCOPED_TRACE(c.what);
    CliCall call;
    call.args = {"set-ip", "LINKLOCAL", "--static", "--ip", "10.78.0.9", "--mask", "255.255.255.0"};
    call.args.insert(call.args.end(), c.extra.begin(), c.extra.end());
    call.env["XDG_CONFIG_HOME"] = m_config.Path().string();
    if (*c.password != '\0') {
      call.env["CORVESTA_PASSWORD"] = c.password;
    }
    const CliRun run = RunCli(call);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  std::size_t addressChanges = 0;
  for (const SimRequest &request : m_sim.Requests()) {
    addressChanges +=
        request.transport == "udp" && !request.bytes.empty() && request.bytes[0] == 0x05;
  }
  EXPECT_EQ(addressChanges, 0u) << "no address change was sent";
  EXPECT_EQ(m_sim.Box("LINKLOCAL").value_or(json::object()).value("ip", ""), "169.254.61.5");
}

// An administrator who accepts the offer (--yes) gives the box an address by
// datagram and is connected at the new one.
TEST_F(CliLanTest, AcceptedSubnetOfferConnectsAtTheNewAddress) {
  const CliRun run = Cli({"connect", "LINKLOCAL", "--yes", "--static", "--ip", "10.78.0.9",
                          "--mask", "255.255.255.0"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("Not the same subnet, do you want to change NAS IP address?"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("Network Storage IP setup successfully, connecting...."),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.out.find("IP:10.78.0.9\nMask:255.255.255.0\n"), std::string::npos) << run.out;
  EXPECT_EQ(m_sim.Box("LINKLOCAL").value_or(json::object()).value("ip", ""), "10.78.0.9");
}

TEST(CliHelpTest, EveryCommandHasHelp) {
  for (const char *command : {"discover", "connect", "info", "password", "identity", "timezone",
                              "network", "disks", "format", "shares", "set-ip", "center"}) {
    CliCall call;
    call.args = {command, "--help"};
    const CliRun run = RunCli(call);
    EXPECT_EQ(run.status, 0) << command;
    EXPECT_EQ(run.out.rfind(std::string("Usage: corvesta-cli ") + command, 0), 0u) << run.out;
  }
  CliCall none;
  EXPECT_EQ(RunCli(none).status, 2);
}

} // namespace
} // namespace corvesta::test
