// Texts from a box reach the terminal as text: a box whose name, description,
// shares and disks hold terminal control sequences cannot clear the screen,
// rewrite a line, set the title or the clipboard, or print a line that looks
// like the program's own.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "cli_process.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"

namespace corvesta::test {
namespace {

using nlohmann::json;

constexpr char kPassword[] = "evilpass1";

// Clear the screen, go home; a carriage return that would overwrite the line.
const std::string kName = "E\x1b[2J\x1b[H\rX";
// The clipboard (OSC 52), then a line break that would start a fake line.
const std::string kDescription = "\x1b]52;c;aGk=\x07\nName: ALPHA";
// C1 CSI (U+009B) erasing a line, DEL, a title (OSC 0), a tab.
const std::string kShare = "S\xc2\x9b"
                           "2K\x7f\x1b]0;t\x07\tZ";

json EvilBox() {
  json box = NasSimProcess::MakeBox(kName, "127.0.0.9", "02:aa:00:00:00:09", kPassword);
  box["description"] = kDescription;
  box["shares"] = json::array({{{"name", kShare}}});
  return box;
}

// Every byte is printable or a line break; no C1 control encoded as UTF-8.
::testing::AssertionResult OnlyText(const std::string &text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool control =
        (byte < 0x20 && byte != '\n') || byte == 0x7f ||
        (byte == 0xc2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
         static_cast<unsigned char>(text[i + 1]) <= 0x9f);
    if (control) {
      return ::testing::AssertionFailure() << "control byte at " << i << " in: " << text;
    }
  }
  return ::testing::AssertionSuccess();
}

std::size_t Lines(const std::string &text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class CliBoxTextTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_sim.Start(NasSimProcess::MakeState({EvilBox()}))) << m_sim.Error();
  }

  CliRun Cli(std::vector<std::string> args) {
    CliCall call;
    call.args = std::move(args);
    call.env["XDG_CONFIG_HOME"] = m_config.Path().string();
    call.env["CORVESTA_PASSWORD"] = kPassword;
    CliRun run = RunCli(call);
    EXPECT_FALSE(run.timedOut) << run.err;
    return run;
  }

  TempFolder m_config;
  NasSimProcess m_sim;
};

TEST_F(CliBoxTextTest, ControlSequencesFromTheBoxAreShownAsEscapes) {
  struct Case {
    std::vector<std::string> args;
    std::size_t lines; // what the output holds when nothing breaks a line
    std::string shown; // the box's text as it appears
  };
  const Case cases[] = {
      {{"discover"}, 1, "E\\u001b[2J\\u001b[H\\u000dX  ip 127.0.0.9"},
      {{"connect", "127.0.0.9"}, 6, "\nE\\u001b[2J\\u001b[H\\u000dX\nIP:127.0.0.9\n"},
      {{"info", "127.0.0.9"}, 10, "Description: \\u001b]52;c;aGk=\\u0007\\u000aName: ALPHA\n"},
      {{"shares", "127.0.0.9"},
       1,
       "S\\u009b2K\\u007f\\u001b]0;t\\u0007\\u0009Z  \\\\127.0.0.9\\S\\u009b2K"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.args[0]);
    const CliRun run = Cli(c.args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(OnlyText(run.out));
    EXPECT_TRUE(OnlyText(run.err));
    EXPECT_EQ(Lines(run.out), c.lines) << run.out;
    EXPECT_NE(run.out.find(c.shown), std::string::npos) << run.out;
  }
}

// JSON was escaped before; it stays valid and carries the box's texts exactly.
TEST_F(CliBoxTextTest, JsonCarriesTheTextsExactly) {
  CliRun run = Cli({"discover", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(OnlyText(run.out));
  json parsed = json::parse(run.out, nullptr, false);
  ASSERT_TRUE(parsed.is_array() && parsed.size() == 1) << run.out;
  EXPECT_EQ(parsed[0].at("name"), kName);

  run = Cli({"shares", "127.0.0.9", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(OnlyText(run.out));
  parsed = json::parse(run.out, nullptr, false);
  ASSERT_TRUE(parsed.is_array() && parsed.size() == 1) << run.out;
  EXPECT_EQ(parsed[0].at("name"), kShare);
}

// The drive records hold what a box once named: a share and a box name with
// escape sequences and a byte that is not UTF-8.
TEST_F(CliBoxTextTest, DrivesShowTheirRecordsAsText) {
  const std::filesystem::path folder = m_config.Path() / "Utility";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "Drives.ini") << "[Z]\nserver=127.0.0.9\nshare=P\x1b[2J\x1b]52;c;aGk="
                                          "\x07\xff\nuser=admin\nbox=B\x1b]0;t\x07"
                                          "\nfolder=\nbookmark=\n";
  const CliRun run = Cli({"drives"});
  EXPECT_TRUE(OnlyText(run.out));
  EXPECT_TRUE(OnlyText(run.err));
  EXPECT_NE(run.out.find("Z:  \\\\127.0.0.9\\P\\u001b[2J\\u001b]52;c;aGk=\\u0007\\xff  admin  "
                         "B\\u001b]0;t\\u0007  "),
            std::string::npos)
      << run.out << run.err;
}

} // namespace
} // namespace corvesta::test
