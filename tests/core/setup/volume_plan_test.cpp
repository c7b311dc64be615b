// The volumes each disk mode makes of one or two disks, as the format
// request carries them, and the disk reports that leave nothing to format.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "i18n/current_language.h"
#include "i18n/own_texts.h"
#include "nas/replies/volume_lines.h"
#include "setup/volume_plan.h"

namespace corvesta {
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
                               "1,raid0,ext4,1994,sdasdb,none,0,1,1994,0,none,0,0,0,null", 0},
                      // The largest volume the request can carry.
                      PlanCase{"JbodOfHugeDisks", Disks(2, 1073741824, 1073741823), DiskMode::Jbod,
                               "1,linear,ext4,2147483641,sdasdb,none,0,1,2147483641,0,none,0,0,0,"
                               "null",
                               0}),
    [](const auto &testCase) { return std::string(testCase.param.label); });

TEST(VolumePlanRefusal, NothingToFormat) {
  struct Case {
    const char *label;
    HdInfo disks;
    DiskMode mode;
    std::u16string_view problem;
  };
  HdInfo longNames = Disks(2, 1000, 1000);
  std::strcpy(longNames.disk1Name, "nvme0n1");
  std::strcpy(longNames.disk2Name, "nvme1n1");
  constexpr int kMax = std::numeric_limits<std::int32_t>::max();
  const Case cases[] = {
      {"no disk", Disks(0, 0), DiskMode::Standalone, u"No hard disk is detected."},
      {"three disks", Disks(3, 100, 100), DiskMode::Standalone, u"No hard disk is detected."},
      {"negative size", Disks(2, -1000, 1000), DiskMode::Raid1, u"No hard disk is detected."},
      {"sum beyond 32 bits", Disks(2, kMax, kMax), DiskMode::Jbod, u"No hard disk is detected."},
      {"RAID on one disk", Disks(1, 500), DiskMode::Raid1, kTwoDrivesNeededText},
      {"JBOD on one disk", Disks(1, 500), DiskMode::Jbod, kTwoDrivesNeededText},
      {"tiny disk", Disks(1, 2), DiskMode::Standalone, kDisksTooSmallText},
      {"tiny pair", Disks(2, 2, 2), DiskMode::Raid0, kDisksTooSmallText},
      {"long names", longNames, DiskMode::Jbod, kDiskNamesTooLongText},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.label);
    std::u16string problem;
    EXPECT_FALSE(PlanVolumes(c.disks, c.mode, problem).has_value());
    EXPECT_EQ(problem, c.problem);
  }
}

TEST(VolumePlanRefusal, TheReasonIsTranslated) {
  ASSERT_TRUE(SelectLanguage(2));
  std::u16string problem;
  EXPECT_FALSE(PlanVolumes(Disks(1, 500), DiskMode::Raid0, problem).has_value());
  EXPECT_EQ(problem, u"Dieser Festplattenmodus erfordert zwei Laufwerke; das NAS hat nur eines.");
  EXPECT_FALSE(PlanVolumes(Disks(0, 0), DiskMode::Standalone, problem).has_value());
  EXPECT_EQ(problem, u"Keine Festplatte erkannt.");
  ClearCurrentLanguage();
}

TEST(DiskModeChoice, TheDiskCountDecidesTheModesOffered) {
  const DiskMode all[] = {DiskMode::Standalone, DiskMode::Jbod, DiskMode::Raid0, DiskMode::Raid1};
  for (DiskMode mode : all) {
    EXPECT_EQ(DiskModeAllowed(1, mode), mode == DiskMode::Standalone);
    EXPECT_TRUE(DiskModeAllowed(2, mode));
    for (int none : {0, 3, -1}) {
      EXPECT_FALSE(DiskModeAllowed(none, mode)) << none;
    }
  }
}

TEST(DiskModeWords, NameTheModesTheBoxKnows) {
  struct Case {
    std::string_view word;
    std::string_view modeText;
  };
  const Case cases[] = {
      {"standalone", "standard"}, {"jbod", "linear"}, {"raid0", "raid0"}, {"raid1", "raid1"}};
  for (const Case &c : cases) {
    const auto mode = DiskModeFromWord(c.word);
    ASSERT_TRUE(mode.has_value()) << c.word;
    EXPECT_EQ(ModeText(*mode), c.modeText);
  }
  for (std::string_view wrong : {"raid5", "RAID1", "standard", ""}) {
    EXPECT_EQ(DiskModeFromWord(wrong), std::nullopt) << wrong;
  }
}

} // namespace
} // namespace corvesta
