// The volume line check of nas-sim's format command: every line that the
// disk mode page builds is accepted with the volumes it describes, and lines
// no box would take are refused.

#include <gtest/gtest.h>

#include "format_chain.h"

namespace corvesta::sim {
namespace {

constexpr std::int64_t kKibPerGib = 1024 * 1024;

std::vector<Disk> Disks(std::int64_t first, std::int64_t second = 0) {
  std::vector<Disk> disks{{"sda", first}};
  if (second > 0) {
    disks.push_back({"sdb", second});
  }
  return disks;
}

struct AcceptedCase {
  const char *name;
  std::vector<Disk> disks;
  const char *line;
  std::vector<std::pair<std::string, std::int64_t>> volumes; // mode, size in GiB
};

TEST(VolumeLineTest, LinesOfEveryDiskModeAreAccepted) {
  const AcceptedCase cases[] = {
      {"one disk",
       Disks(500),
       "1,standard,ext4,497,sda,none,0,1,497,0,none,1,0,0,null",
       {{"standard", 497}}},
      {"standalone, equal disks",
       Disks(1000, 1000),
       "1,standard,ext4,1000,sda,none,0,1,1000,0,none,1,0,0,null,"
       "2,standard,ext4,1000,sdb,none,0,1,1000,0,none,1,0,0,null",
       {{"standard", 1000}, {"standard", 1000}}},
      {"standalone, different disks",
       Disks(1000, 2000),
       "1,standard,ext4,1000,sda,none,0,1,1000,0,none,0,0,0,null,"
       "2,standard,ext4,2000,sdb,none,0,1,2000,0,none,0,0,0,null",
       {{"standard", 1000}, {"standard", 2000}}},
      {"jbod",
       Disks(1000, 1000),
       "1,linear,ext4,1994,sdasdb,none,0,1,1994,0,none,1,0,0,null",
       {{"linear", 1994}}},
      {"raid 0, equal disks",
       Disks(1000, 1000),
       "1,raid0,ext4,1994,sdasdb,none,0,1,1994,0,none,1,0,0,null",
       {{"raid0", 1994}}},
      {"raid 0 with a remainder",
       Disks(1000, 2000),
       "1,raid0,ext4,1994,sdasdb,none,0,1,1994,0,none,0,0,0,null,"
       "2,linear,ext4,994,sdasdb,none,1,1,994,0,none,0,0,0,null",
       {{"raid0", 1994}, {"linear", 994}}},
      {"raid 1, equal disks",
       Disks(1000, 1000),
       "1,raid1,ext4,997,sdasdb,none,0,1,997,0,none,1,0,0,null",
       {{"raid1", 997}}},
      {"raid 1 with a remainder",
       Disks(2000, 1000),
       "1,raid1,ext4,997,sdasdb,none,0,1,997,0,none,0,0,0,null,"
       "2,linear,ext4,994,sdasdb,none,1,1,994,0,none,0,0,0,null",
       {{"raid1", 997}, {"linear", 994}}},
  };
  for (const AcceptedCase &c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    const auto volumes = ParseVolumeLine(c.line, c.disks, error);
    ASSERT_TRUE(volumes) << error;
    ASSERT_EQ(volumes->size(), c.volumes.size());
    for (std::size_t i = 0; i < c.volumes.size(); ++i) {
      EXPECT_EQ((*volumes)[i].number, static_cast<int>(i + 1));
      EXPECT_EQ((*volumes)[i].mode, c.volumes[i].first);
      EXPECT_EQ((*volumes)[i].totalKib, c.volumes[i].second * kKibPerGib);
      EXPECT_EQ((*volumes)[i].fileSystem, "ext4");
    }
  }
}

TEST(VolumeLineTest, LinesNoBoxWouldTakeAreRefusedWithAReason) {
  const char *lines[] = {
      "",
      "1,raid1,ext4,997,sdasdb,none,0,1,997,0,none,1,0,0,null,",
      "1,raid1,ext4,x,sdasdb,none,0,1,x,0,none,1,0,0,null",
      "1,raid1,ext4,-5,sdasdb,none,0,1,-5,0,none,1,0,0,null",
      "1,raid1,ntfs,997,sdasdb,none,0,1,997,0,none,1,0,0,null",
      "1,raid1,ext4,997,sdasda,none,0,1,997,0,none,1,0,0,null",
      "1,raid1,ext4,997,sdasdb,none,2,1,997,0,none,1,0,0,null",
      "1,linear,ext4,2001,sdasdb,none,0,1,2001,0,none,1,0,0,null",
      "1,standard,ext4,1000,sda,none,0,1,1000,0,none,1,0,0,null,"
      "1,standard,ext4,1000,sdb,none,0,1,1000,0,none,1,0,0,null",
  };
  for (const char *line : lines) {
    SCOPED_TRACE(line);
    std::string error;
    EXPECT_FALSE(ParseVolumeLine(line, Disks(1000, 1000), error));
    EXPECT_FALSE(error.empty());
  }
  std::string error;
  EXPECT_FALSE(
      ParseVolumeLine("1,standard,ext4,497,sda,none,0,1,497,0,none,1,0,0,null", {}, error));
  EXPECT_NE(error.find("no disk"), std::string::npos);
}

} // namespace
} // namespace corvesta::sim
