// The pieces of corvesta-cli that decide without a box: disk-mode plans,
// the set-up input rules, box lookup, the command line and JSON text.

#include <gtest/gtest.h>

#include <cstring>

#include <nlohmann/json.hpp>

#include "cli/arguments.h"
#include "cli/box_selection.h"
#include "cli/command_table.h"
#include "cli/json_writer.h"
#include "cli/setup_rules.h"
#include "cli/volume_plan.h"
#include "nas/replies/volume_lines.h"

namespace corvesta::cli {
namespace {

HdInfo Disks(int count, int size1, int size2 = 0) {
  HdInfo info;
  info.deviceCount = count;
  std::strcpy(info.disk1Name, "sda");
  info.disk1Size = size1;
  if (count > 1) {
    std::strcpy(info.disk2Name, "sdb");
    info.disk2Size = size2;
  }
  return info;
}

struct PlanCase {
  const char *label;
  HdInfo disks;
  DiskMode mode;
  std::string lines; // the f_create_volume_info value
  int autoSync;
};

void PrintTo(const PlanCase &c, std::ostream *os) {
  *os << c.label;
}

class VolumePlanTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(VolumePlanTest, GivesTheVolumeLines) {
  const PlanCase &c = GetParam();
  std::u16string problem;
  auto plan = PlanVolumes(c.disks, c.mode, problem);
  ASSERT_TRUE(plan.has_value());
  const VolumeSpec &first = plan->Chain();
  EXPECT_EQ(FormatVolumeLines(first).value_or("none"), c.lines);
  EXPECT_EQ(first.autoSync, c.autoSync);
  // A copy chains to its own second volume.
  VolumePlan copy = *plan;
  const VolumeSpec &copied = copy.Chain();
  EXPECT_TRUE(copied.next == nullptr || copied.next == &copy.At(1));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, VolumePlanTest,
    ::testing::Values(PlanCase{"OneDisk", Disks(1, 500), DiskMode::Standalone,
                               "1,standard,ext4,497,sda,none,0,1,497,0,none,1,0,0,null", 0},
                      PlanCase{"StandaloneUnequal", Disks(2, 1000, 2000), DiskMode::Standalone,
                               "1,standard,ext4,1000,sda,none,0,1,1000,0,none,0,0,0,null,"
                               "2,standard,ext4,2000,sdb,none,0,1,2000,0,none,0,0,0,null",
                               0},
                      PlanCase{"JbodEqual", Disks(2, 1000, 1000), DiskMode::Jbod,
                               "1,linear,ext4,1994,sdasdb,none,0,1,1994,0,none,1,0,0,null", 0},
                      PlanCase{"Raid0Unequal", Disks(2, 1000, 2000), DiskMode::Raid0,
                               "1,raid0,ext4,1994,sdasdb,none,0,1,1994,0,none,0,0,0,null,"
                               "2,linear,ext4,994,sdasdb,none,1,1,994,0,none,0,0,0,null",
                               0},
                      PlanCase{"Raid1Equal", Disks(2, 1000, 1000), DiskMode::Raid1,
                               "1,raid1,ext4,997,sdasdb,none,0,1,997,0,none,1,0,0,null", 1},
                      PlanCase{"Raid1Unequal", Disks(2, 1000, 2000), DiskMode::Raid1,
                               "1,raid1,ext4,997,sdasdb,none,0,1,997,0,none,0,0,0,null,"
                               "2,linear,ext4,994,sdasdb,none,1,1,994,0,none,0,0,0,null",
                               1},
                      // A difference no larger than the reserve leaves no remainder volume.
                      PlanCase{"Raid0NearlyEqual", Disks(2, 1000, 1004), DiskMode::Raid0,
                               "1,raid0,ext4,1994,sdasdb,none,0,1,1994,0,none,0,0,0,null", 0}),
    [](const auto &testCase) { return std::string(testCase.param.label); });

TEST(VolumePlanRefusal, NothingToFormat) {
  struct Case {
    HdInfo disks;
    DiskMode mode;
    std::u16string problem;
  };
  HdInfo longNames = Disks(2, 1000, 1000);
  std::strcpy(longNames.disk1Name, "nvme0n1");
  std::strcpy(longNames.disk2Name, "nvme1n1");
  const Case cases[] = {
      {Disks(0, 0), DiskMode::Standalone, u"No hard disk is detected."},
      {Disks(3, 100, 100), DiskMode::Standalone, u"No hard disk is detected."},
      {Disks(1, 500), DiskMode::Raid1, u"This disk mode requires two drives; the NAS has one."},
      {Disks(1, 2), DiskMode::Standalone, u"The disks are too small for this disk mode."},
      {longNames, DiskMode::Jbod, u"The disks' device names are too long for the format request."},
  };
  for (const Case &c : cases) {
    std::u16string problem;
    EXPECT_FALSE(PlanVolumes(c.disks, c.mode, problem).has_value());
    EXPECT_EQ(problem, c.problem);
  }
}

TEST(SetupRules, NewPassword) {
  struct Case {
    const char *password;
    const char *confirmation;
    std::optional<std::u16string_view> problem;
  };
  const Case cases[] = {
      {"abcd1234", "abcd1234", std::nullopt},
      {"ABCDEFGHijklmn16", "ABCDEFGHijklmn16", std::nullopt},
      {"abc1234", "abc1234", kPasswordRuleText},
      {"ABCDEFGHijklmn167", "ABCDEFGHijklmn167", kPasswordRuleText},
      {"abc", "abd", kPasswordMismatchText}, // the mismatch is reported first
      {"Abcd1234", "abcd1234", kPasswordMismatchText},
      {"abcd_1234", "abcd_1234", kPasswordRuleText},
      {"abcd 1234", "abcd 1234", kPasswordRuleText},
      {"abcdé1234", "abcdé1234", kPasswordRuleText},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(CheckNewPassword(c.password, c.confirmation), c.problem) << c.password;
  }
}

TEST(SetupRules, ForbiddenCharactersAreLookedForInListOrder) {
  const std::string list = "*+=|/\\:';<>?,\"$%&[]{}#@!~()^.";
  const std::string workgroup =
      "The Workgroup must not include the following characters:" + list + ".";
  const std::string name = "The Name must not include the following characters:" + list + ".";
  // "*" comes before "#": the workgroup is reported.
  EXPECT_EQ(CheckNameAndWorkgroup("my#box", "work*group"), workgroup);
  EXPECT_EQ(CheckNameAndWorkgroup("my*box", "work*group"), name);
  EXPECT_EQ(CheckNameAndWorkgroup("my.box", "group"), name);
  EXPECT_EQ(CheckNameAndWorkgroup("KS-310_a", "WORK GROUP"), std::nullopt);
}

NasDevice Device(const char *name, const char *ip, const char *mac) {
  NasDevice device;
  std::strcpy(device.name, name);
  std::strcpy(device.ip, ip);
  std::strcpy(device.mac, mac);
  return device;
}

TEST(BoxLookupTest, NameAddressOrHardwareAddress) {
  const std::vector<NasDevice> devices{Device("ONE", "10.0.0.1", "02:00:00:00:00:01"),
                                       Device("TWIN", "10.0.0.2", "02:00:00:00:00:02"),
                                       Device("TWIN", "10.0.0.3", "02:00:00:00:00:03")};
  EXPECT_EQ(FindBox(devices, "ONE").choice->index, 0);
  EXPECT_EQ(FindBox(devices, "10.0.0.3").choice->index, 2);
  EXPECT_EQ(FindBox(devices, "02-00-00-00-00-02").choice->index, 1);
  EXPECT_EQ(FindBox(devices, "02:00:00:00:00:0A").choice, std::nullopt);

  const BoxLookup twins = FindBox(devices, "TWIN");
  EXPECT_FALSE(twins.choice.has_value());
  EXPECT_EQ(twins.failure, ExitStatus::Usage);
  EXPECT_NE(twins.message.find("10.0.0.2"), std::string::npos);
  EXPECT_NE(twins.message.find("10.0.0.3"), std::string::npos);

  const BoxLookup missing = FindBox(devices, "one");
  EXPECT_FALSE(missing.choice.has_value());
  EXPECT_EQ(missing.failure, ExitStatus::BoxNotFound);
}

// Only a word that can be nothing but an address or hardware address lets
// the search end before every box has had its time to answer.
TEST(BoxLookupTest, WordsThatEndTheSearchEarly) {
  const std::pair<const char *, bool> words[] = {
      {"127.0.0.3", true},           {"02-AA-00-00-00-61", true},
      {"02:aa:00:00:00:61", true},   {"TWIN", false},
      {"127.0.0.300", false},        {"127.0.0", false},
      {"02:aa:00:00:00:6", false},   {"02:aa:00:00:00:6g", false},
      {"02:aa:00:00:00:61:", false}, {"", false},
  };
  for (const auto &[word, early] : words) {
    EXPECT_EQ(IsAddressWord(word), early) << '"' << word << '"';
  }
}

ParsedCommandLine Parse(std::vector<std::string> words) {
  return ParseCommandLine(words,
                          [](std::string_view name) -> std::optional<std::vector<OptionSpec>> {
                            if (name.empty()) {
                              return GlobalOptions();
                            }
                            if (const CommandSpec *command = FindCommand(name)) {
                              return command->options;
                            }
                            return std::nullopt;
                          });
}

TEST(CommandLineTest, OptionsAndWords) {
  ParsedCommandLine parsed =
      Parse({"network", "BOX", "--static", "--ip=10.0.0.5", "--mask", "255.0.0.0", "--", "--x"});
  ASSERT_TRUE(parsed.arguments.has_value()) << parsed.error;
  EXPECT_EQ(parsed.arguments->command, "network");
  EXPECT_EQ(parsed.arguments->words, (std::vector<std::string>{"BOX", "--x"}));
  EXPECT_TRUE(parsed.arguments->Has("static"));
  EXPECT_EQ(parsed.arguments->Value("ip"), "10.0.0.5");
  EXPECT_EQ(parsed.arguments->Value("mask"), "255.0.0.0");
  EXPECT_FALSE(parsed.arguments->Has("gateway"));
}

TEST(CommandLineTest, WrongLinesAreRefused) {
  const std::vector<std::vector<std::string>> wrong{
      {"network", "BOX", "--ip"},                   // value missing
      {"network", "BOX", "--ip", "1", "--ip", "2"}, // twice
      {"discover", "--static"},                     // not this command's
      {"network", "BOX", "--dhcp=yes"},             // a flag with a value
      {"connect", "BOX", "-x"},                     // short options do not exist
  };
  for (const auto &words : wrong) {
    EXPECT_FALSE(Parse(words).arguments.has_value()) << words.back();
  }
}

TEST(JsonWriterTest, TextsAlwaysParse) {
  const std::string nasty = std::string("a\"b\\c\nd\te\x01") + "\xff" + "é";
  const std::string text =
      JsonObject().Text("name", nasty).Number("n", -5).Bool("b", true).Null("z").Str();
  const auto parsed = nlohmann::json::parse(text, nullptr, false);
  ASSERT_FALSE(parsed.is_discarded()) << text;
  EXPECT_EQ(parsed.at("name"), "a\"b\\c\nd\te\x01\xEF\xBF\xBD\xC3\xA9");
  EXPECT_EQ(parsed.at("n"), -5);
  EXPECT_TRUE(parsed.at("z").is_null());
}

} // namespace
} // namespace corvesta::cli
