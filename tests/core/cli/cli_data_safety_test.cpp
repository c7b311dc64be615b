// corvesta-cli against a simulated box that answers badly: what the box
// said is never replaced by blanks, a change whose answer was lost is not
// reported as refused, and a settings file that cannot be written is told.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include <nlohmann/json.hpp>

#include "cli_process.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"

namespace corvesta::test {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

constexpr char kPassword[] = "deltapass1";
constexpr char kMac[] = "02:aa:00:00:00:12";
constexpr char kWizardFailed[] = "Get wizard information failed.";
constexpr char kMayHaveBeenMade[] = "The NAS did not answer after the change was sent, so the "
                                    "change may have been made.";
constexpr int kNotRemembered = 4;

class CliDataSafetyTest : public ::testing::Test {
protected:
  void SetUp() override {
    json box = NasSimProcess::MakeBox("DELTA", "127.0.0.2", kMac, kPassword);
    box["workgroup"] = "OFFICE";
    box["description"] = "first floor";
    box["timezone"] = 21;
    box["dns1"] = "127.0.0.53";
    ASSERT_TRUE(m_sim.Start(NasSimProcess::MakeState({box}))) << m_sim.Error();
  }

  CliRun Cli(std::vector<std::string> args, const std::string &password = kPassword,
             const std::string &input = "") {
    CliCall call;
    call.args = std::move(args);
    call.env["XDG_CONFIG_HOME"] = m_config.Path().string();
    call.env["CORVESTA_PASSWORD"] = password;
    call.input = input;
    CliRun run = RunCli(call);
    EXPECT_FALSE(run.timedOut) << "corvesta-cli did not end: " << run.err;
    return run;
  }

  fs::path SettingsFile() const { return m_config.Path() / "Utility" / "Utility.ini"; }

  std::size_t WebRequestsWith(const std::string &fragment) const {
    std::size_t count = 0;
    for (const SimRequest &request : m_sim.Requests()) {
      count += request.transport == "tcp" && request.bytes.find(fragment) != std::string::npos;
    }
    return count;
  }

  json Box() {
    auto box = m_sim.Box(kMac);
    EXPECT_TRUE(box.has_value()) << m_sim.Error();
    return box.value_or(json::object());
  }

  TempFolder m_config;
  NasSimProcess m_sim;
};

// ---- Replies that cannot be read whole.

struct UnreadableCase {
  const char *label;
  json faults; // the box's fault switches
  json patch;  // laid over the box's state
};

void PrintTo(const UnreadableCase &c, std::ostream *os) {
  *os << c.label;
}

class UnreadableWizardReply : public CliDataSafetyTest,
                              public ::testing::WithParamInterface<UnreadableCase> {
protected:
  void SetUp() override {
    CliDataSafetyTest::SetUp();
    if (!GetParam().patch.is_null()) {
      ASSERT_TRUE(m_sim.Patch("DELTA", GetParam().patch)) << m_sim.Error();
    }
    ASSERT_TRUE(m_sim.SetFaults("DELTA", GetParam().faults)) << m_sim.Error();
  }
};

TEST_P(UnreadableWizardReply, InfoFailsWithoutPrintingBlanks) {
  const CliRun run = Cli({"info", "DELTA"});
  EXPECT_EQ(run.status, 1) << run.out;
  EXPECT_NE(run.err.find(kWizardFailed), std::string::npos) << run.err;
  EXPECT_EQ(run.out.find("Workgroup"), std::string::npos) << run.out;
}

TEST_P(UnreadableWizardReply, NoChangeSendsTheBlanksBack) {
  const json before = Box();
  const std::vector<std::vector<std::string>> commands = {
      {"identity", "DELTA", "--name", "RENAMED"},
      {"network", "DELTA", "--dhcp"},
      {"timezone", "DELTA", "--set", "5"},
  };
  for (const auto &args : commands) {
    SCOPED_TRACE(args.front());
    const CliRun run = Cli(args);
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_NE(run.err.find(kWizardFailed), std::string::npos) << run.err;
  }
  for (const char *change :
       {"cmd=cgi_device", "cmd=cgi_ip&", "cmd=cgi_setip_lock", "cmd=cgi_timezone"}) {
    EXPECT_EQ(WebRequestsWith(change), 0u) << change;
  }
  const json after = Box();
  for (const char *field :
       {"name", "workgroup", "description", "timezone", "ip", "gateway", "dns1", "dhcp"}) {
    EXPECT_EQ(after.at(field), before.at(field)) << field;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, UnreadableWizardReply,
    ::testing::Values(UnreadableCase{"FourByteCharacter",
                                     {{"http", {{"cgi_get_wizard", {{"utf8_four_byte", true}}}}}},
                                     nullptr},
                      // What the box itself holds, as another tool may have set it.
                      UnreadableCase{"EmojiInTheBoxsDescription",
                                     json::object(),
                                     {{"description", "photos \xf0\x9f\x93\x81"}}},
                      UnreadableCase{"BrokenXml",
                                     {{"http", {{"cgi_get_wizard", {{"broken_xml", true}}}}}},
                                     nullptr},
                      // 5000 bytes before the document: the kept 4,095 bytes hold none of it.
                      UnreadableCase{"DocumentCutByTheBuffer",
                                     {{"http", {{"cgi_get_wizard", {{"oversize", "before"}}}}}},
                                     nullptr}),
    [](const auto &testCase) { return std::string(testCase.param.label); });

// A name longer than the request's field would go back cut (the box
// renamed) when only the description is changed.
TEST_F(CliDataSafetyTest, ATextTheRequestCannotCarryWholeIsNotSentBackCut) {
  const std::string longName = "DELTA-STORE-SECOND-FLOOR"; // 24 bytes, the field holds 15
  ASSERT_TRUE(m_sim.Patch("DELTA", {{"name", longName}})) << m_sim.Error();
  CliRun run = Cli({"identity", "127.0.0.2", "--description", "second floor"});
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_NE(run.err.find("longer than the request can carry"), std::string::npos) << run.err;
  EXPECT_EQ(WebRequestsWith("cmd=cgi_device"), 0u);
  EXPECT_EQ(Box().at("name"), longName);
  EXPECT_EQ(Box().at("description"), "first floor");

  // Given all three, the person decides what the box holds.
  run = Cli({"identity", "127.0.0.2", "--name", "DELTA2", "--workgroup", "OFFICE", "--description",
             "second floor"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Box().at("description"), "second floor");
}

// ---- Changes whose answer is lost.

struct LostCase {
  const char *label;
  std::string command; // the cmd value whose answer is dropped
  std::vector<std::string> args;
  std::string input;
  std::function<bool(const json &)> made; // the box shows the change
};

void PrintTo(const LostCase &c, std::ostream *os) {
  *os << c.label;
}

class LostAnswer : public CliDataSafetyTest, public ::testing::WithParamInterface<LostCase> {};

// The box made the change and closed the connection without a reply: the
// person hears that the change may have been made, and how to check.
TEST_P(LostAnswer, SaysTheChangeMayHaveBeenMade) {
  const LostCase &c = GetParam();
  ASSERT_TRUE(m_sim.SetFaults("DELTA", {{"http", {{c.command, {{"drop", true}}}}}}))
      << m_sim.Error();
  const CliRun run = Cli(c.args, kPassword, c.input);
  EXPECT_EQ(run.status, 1) << run.out;
  EXPECT_NE(run.err.find(kMayHaveBeenMade), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("setting failed."), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("password error."), std::string::npos) << run.err;
  EXPECT_TRUE(c.made(Box())) << Box().dump();
}

INSTANTIATE_TEST_SUITE_P(
    Commands, LostAnswer,
    ::testing::Values(LostCase{"Identity",
                               "cgi_device",
                               {"identity", "DELTA", "--description", "second floor"},
                               "",
                               [](const json &box) {
                                 return box.at("description") == "second floor";
                               }},
                      LostCase{"TimeZone",
                               "cgi_timezone",
                               {"timezone", "DELTA", "--set", "35"},
                               "",
                               [](const json &box) { return box.at("timezone") == 35; }},
                      LostCase{"Password",
                               "cgi_chg_user_pw",
                               {"password", "DELTA"},
                               "newpass123\n",
                               [](const json &box) {
                                 return box.at("accounts").at(0).at("password") == "newpass123";
                               }},
                      LostCase{"Network",
                               "cgi_ip",
                               {"network", "DELTA", "--static", "--ip", "127.0.0.22", "--mask",
                                "255.0.0.0", "--gateway", "127.0.0.1"},
                               "",
                               [](const json &box) { return box.at("ip") == "127.0.0.22"; }}),
    [](const auto &testCase) { return std::string(testCase.param.label); });

// A refusal is still a refusal.
TEST_F(CliDataSafetyTest, ARefusedChangeIsNotReportedAsPossiblyMade) {
  ASSERT_TRUE(m_sim.SetFaults("DELTA", {{"http", {{"cgi_device", {{"status", 500}}}}}}))
      << m_sim.Error();
  const CliRun run = Cli({"identity", "DELTA", "--description", "second floor"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("setting failed."), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find(kMayHaveBeenMade), std::string::npos) << run.err;
}

// ---- Remembering.

// Each of these leaves no settings file to write; the command itself is
// done, and its exit status says that nothing was remembered.
TEST_F(CliDataSafetyTest, ASettingsFileThatCannotBeWrittenIsTold) {
  struct Case {
    const char *label;
    std::function<void()> spoil;
    std::string message;
  };
  const fs::path folder = SettingsFile().parent_path();
  const Case cases[] = {
      {"a folder where the file should be", [&] { fs::create_directories(SettingsFile()); },
       "could not be written; nothing was remembered."},
      {"a file where the folder should be", [&] { std::ofstream(folder) << "x"; },
       "No settings folder could be made; nothing was remembered."},
      {"a file larger than settings ever are",
       [&] {
         fs::create_directories(folder);
         std::ofstream out(SettingsFile());
         out << "[Current]\n" << std::string(5 * 1024 * 1024, ';') << "\n";
       },
       "could not be written; nothing was remembered."},
      {"a file in a legacy 8-bit code page",
       [&] {
         fs::create_directories(folder);
         std::ofstream(SettingsFile()) << "[B\xfcro]\nUserName=j\xf6rg\n";
       },
       "is not UTF-8 text; it was left as it is and nothing was remembered."},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.label);
    fs::remove_all(folder);
    c.spoil();
    const std::string before =
        fs::is_regular_file(SettingsFile()) ? test::ReadFileBytes(SettingsFile()) : "";
    const CliRun run = Cli({"connect", "DELTA", "--remember"});
    EXPECT_EQ(run.status, kNotRemembered) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    if (!before.empty()) {
      EXPECT_EQ(test::ReadFileBytes(SettingsFile()), before);
    }
  }
  fs::remove_all(folder);
}

TEST_F(CliDataSafetyTest, ASettingsFileThatIsALinkIsWrittenThroughIt) {
  const fs::path elsewhere = m_config.Path() / "dotfiles";
  fs::create_directories(elsewhere);
  fs::create_directories(SettingsFile().parent_path());
  std::ofstream(elsewhere / "corvesta.ini") << "[Language]\nLanguage=GER\n";
  fs::create_symlink("../dotfiles/corvesta.ini", SettingsFile());

  const CliRun run = Cli({"connect", "DELTA", "--remember"});
  EXPECT_EQ(run.status, 0) << run.err;
  ASSERT_TRUE(fs::is_symlink(SettingsFile()));
  EXPECT_EQ(fs::read_symlink(SettingsFile()), "../dotfiles/corvesta.ini");
  const std::string target = test::ReadFileBytes(elsewhere / "corvesta.ini");
  EXPECT_NE(target.find("Language=GER"), std::string::npos) << target;
  EXPECT_NE(target.find("UserName=admin"), std::string::npos) << target;
}

} // namespace
} // namespace corvesta::test
