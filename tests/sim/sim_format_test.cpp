// nas-sim's disk formatting: the chain of steps, the check of the volume
// line, the progress over time and the volumes it leaves.

#include <gtest/gtest.h>

#include <functional>

#include "sim_test_sockets.h"
#include "support/nas_sim_process.h"

namespace corvesta::test {
namespace {

using namespace std::chrono_literals;

constexpr const char *kBox = "127.0.0.5";
constexpr const char *kDisk = "/cgi-bin/hd_config.cgi";
constexpr const char *kRaid1Line = "1,raid1,ext4,997,sdasdb,none,0,1,997,0,none,1,0,0,null";

nlohmann::json NewBox() {
  nlohmann::json box = NasSimProcess::MakeBox("NEW", kBox, "00:11:22:33:44:05", "");
  box["disks"] = {{{"device", "sda"}, {"size_gib", 1000}}, {{"device", "sdb"}, {"size_gib", 1000}}};
  box["format_seconds"] = 1;
  return box;
}

class SimFormatTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(sim.Start(NasSimProcess::MakeState({NewBox()}))) << sim.Error();
  }
  // nas-sim ends cleanly: no crash, no sanitizer report.
  void TearDown() override {
    sim.Stop();
    EXPECT_EQ(sim.ExitStatus(), 0) << sim.Stderr();
  }

  std::string Body(const std::string &path, const std::string &body) {
    return BodyOf(HttpReplyText(kBox, PostRequest(path, kBox, "admin", "", body)));
  }
  std::string Step(const std::string &command) { return Body(kDisk, "cmd=" + command); }
  std::string Create(const std::string &line, int autoSync = 1) {
    return Body(kDisk, "cmd=cgi_FMT_Create_DiskMGR&f_create_volume_info=" + line +
                           "&f_create_type=1&f_auto_sync=" + std::to_string(autoSync));
  }
  std::string State() { return Body("/xml/dm_read_state.xml", ""); }
  // Polls the format state until it says finished; the last state read,
  // empty when it did not finish within `limit`. `seen` is shown each state.
  std::string WaitForFinishedState(std::chrono::milliseconds limit,
                                   const std::function<void(const std::string &)> &seen = {}) {
    std::string state;
    const bool finished = WaitUntil(
        [&] {
          state = State();
          if (seen) {
            seen(state);
          }
          return IsFinished(state);
        },
        limit);
    return finished ? state : std::string();
  }
  static bool IsFinished(const std::string &state) {
    return state.find("<finished>1</finished>") != std::string::npos;
  }

  NasSimProcess sim;
};

int PercentOf(const std::string &state) {
  const std::size_t at = state.find("<percent>");
  return at == std::string::npos ? -1 : std::stoi(state.substr(at + 9));
}

TEST_F(SimFormatTest, ChainAdvancesToFinishedAndLeavesTheVolumes) {
  EXPECT_NE(Step("cgi_AJAXPlorer_Stop").find("<res>1</res>"), std::string::npos);
  EXPECT_NE(Create(kRaid1Line).find("<res>1</res>"), std::string::npos);

  const std::string running = State();
  EXPECT_NE(running.find("<finished>0</finished><errcode>1</errcode>"), std::string::npos)
      << running;
  EXPECT_LT(PercentOf(running), 100);
  // Not yet finished: the remount is refused.
  EXPECT_NE(Step("cgi_Disk_Remount").find("<res>0</res>"), std::string::npos);

  int lastPercent = PercentOf(running);
  const std::string state = WaitForFinishedState(5s, [&](const std::string &seen) {
    const int percent = PercentOf(seen);
    EXPECT_GE(percent, lastPercent);
    lastPercent = percent;
  });
  ASSERT_TRUE(IsFinished(state));
  EXPECT_NE(state.find("<errcode>1</errcode><percent>100</percent>"), std::string::npos);

  EXPECT_NE(Step("cgi_Disk_Remount").find("<res>1</res>"), std::string::npos);
  EXPECT_NE(Step("cgi_Check_Disk_Remount_State").find("<res>1</res>"), std::string::npos);
  EXPECT_NE(Step("cgi_FMT_Disk_Finish").find("<res>1</res>"), std::string::npos);

  const std::string volumes = Step("cgi_Status_Volume_Info");
  EXPECT_NE(volumes.find("<item><volume>1</volume><total_size>1045430272</total_size>"
                         "<use_size>0</use_size></item>"),
            std::string::npos)
      << volumes;
  const auto box = sim.Box("NEW");
  ASSERT_TRUE(box);
  EXPECT_EQ((*box)["volumes"][0]["mode"], "raid1");
  EXPECT_EQ((*box)["volumes"][0]["disks"], "sdasdb");
}

TEST_F(SimFormatTest, StepsOutOfOrderAreRefused) {
  EXPECT_NE(Create(kRaid1Line).find("<res>0</res>"), std::string::npos); // file browser runs
  EXPECT_NE(Step("cgi_Check_Disk_Remount_State").find("<res>0</res>"), std::string::npos);
  EXPECT_NE(Step("cgi_FMT_Disk_Finish").find("<res>0</res>"), std::string::npos);
  Step("cgi_AJAXPlorer_Stop");
  EXPECT_NE(Create(kRaid1Line).find("<res>1</res>"), std::string::npos);
  EXPECT_NE(Create(kRaid1Line).find("<res>0</res>"), std::string::npos);          // already running
  EXPECT_NE(Step("cgi_FMT_Disk_Finish").find("<res>0</res>"), std::string::npos); // formatting
}

// A finish without a format starts the stopped file browser again.
TEST_F(SimFormatTest, AFinishWithoutAFormatStartsTheFileBrowserAgain) {
  Step("cgi_AJAXPlorer_Stop");
  EXPECT_NE(Step("cgi_FMT_Disk_Finish").find("<res>1</res>"), std::string::npos);
  EXPECT_NE(Step("cgi_FMT_Disk_Finish").find("<res>0</res>"), std::string::npos); // runs again
  EXPECT_NE(Create(kRaid1Line).find("<res>0</res>"), std::string::npos);
}

TEST_F(SimFormatTest, VolumeLinesABoxWouldNotAcceptAreRefused) {
  Step("cgi_AJAXPlorer_Stop");
  const char *lines[] = {
      "1,raid1,ext4,997,sdasdb,none,0,1,997,0,none,1,0,0",           // 14 values
      "1,raid5,ext4,997,sdasdb,none,0,1,997,0,none,1,0,0,null",      // unknown mode
      "1,raid1,ext4,997,sdasdc,none,0,1,997,0,none,1,0,0,null",      // unknown disk
      "1,raid1,ext4,1001,sdasdb,none,0,1,1001,0,none,1,0,0,null",    // larger than a mirror
      "1,raid1,ext4,997,sdasdb,none,0,1,996,0,none,1,0,0,null",      // two different sizes
      "2,raid1,ext4,997,sdasdb,none,0,1,997,0,none,1,0,0,null",      // volume number
      "1,standard,ext4,1000,sdasdb,none,0,1,1000,0,none,1,0,0,null", // standard on two disks
      "1,raid0,ext4,1994,sda,none,0,1,1994,0,none,1,0,0,null",       // raid0 on one disk
  };
  for (const char *line : lines) {
    SCOPED_TRACE(line);
    const std::string reply = Create(line);
    EXPECT_NE(reply.find("<res>0</res>"), std::string::npos) << reply;
  }
  // Two standard volumes, one per disk, are accepted.
  EXPECT_NE(Create("1,standard,ext4,1000,sda,none,0,1,1000,0,none,1,0,0,null,"
                   "2,standard,ext4,1000,sdb,none,0,1,1000,0,none,1,0,0,null",
                   0)
                .find("<res>1</res>"),
            std::string::npos);
}

TEST_F(SimFormatTest, AFailedFormatReportsItsErrcodeAndLeavesNoVolume) {
  ASSERT_TRUE(sim.Patch("NEW", {{"volumes", {{{"volume", 1}, {"total_kib", 5}}}},
                                {"faults", {{"format_errcode", 3}}}}));
  Step("cgi_AJAXPlorer_Stop");
  ASSERT_NE(Create(kRaid1Line).find("<res>1</res>"), std::string::npos);
  const std::string state = WaitForFinishedState(5s);
  ASSERT_TRUE(IsFinished(state));
  EXPECT_NE(state.find("<errcode>3</errcode>"), std::string::npos);
  // The chain goes on as after a good format.
  EXPECT_NE(Step("cgi_Disk_Remount").find("<res>1</res>"), std::string::npos);
  EXPECT_EQ(Step("cgi_Status_Volume_Info").find("<item>"), std::string::npos);
}

TEST_F(SimFormatTest, AFormatCanFailPartWay) {
  ASSERT_TRUE(sim.Patch("NEW", {{"format_seconds", 4},
                                {"faults", {{"format_errcode", 0}, {"format_fail_percent", 25}}}}));
  Step("cgi_AJAXPlorer_Stop");
  ASSERT_NE(Create(kRaid1Line).find("<res>1</res>"), std::string::npos);
  const std::string state = WaitForFinishedState(3s); // well before a whole format's four seconds
  ASSERT_TRUE(IsFinished(state));
  EXPECT_NE(state.find("<errcode>0</errcode>"), std::string::npos) << state;
  EXPECT_EQ(PercentOf(state), 25) << state;
}

TEST_F(SimFormatTest, EachDiskStepCanBeRefusedOnDemand) {
  const std::string steps[] = {"cgi_AJAXPlorer_Stop", "cgi_FMT_Create_DiskMGR", "cgi_Disk_Remount",
                               "cgi_Check_Disk_Remount_State", "cgi_FMT_Disk_Finish"};
  // One step of the chain; the creation waits for the format's end.
  auto run = [&](const std::string &step) {
    if (step != "cgi_FMT_Create_DiskMGR") {
      return Step(step);
    }
    const std::string reply = Create(kRaid1Line);
    if (reply.find("<res>1</res>") != std::string::npos) {
      WaitForFinishedState(5s);
    }
    return reply;
  };
  for (const std::string &refused : steps) {
    SCOPED_TRACE(refused);
    ASSERT_TRUE(sim.SetFaults("NEW", {{"http", {{refused, {{"refuse", true}}}}}})) << sim.Error();
    bool reached = false;
    for (const std::string &step : steps) {
      if (step == refused && !reached) {
        EXPECT_NE(run(step).find("<res>0</res>"), std::string::npos);
        // Taken back: the refused step changed nothing, so it now goes through.
        ASSERT_TRUE(sim.SetFaults("NEW", nlohmann::json::object())) << sim.Error();
        reached = true;
      }
      ASSERT_NE(run(step).find("<res>1</res>"), std::string::npos) << step;
    }
  }
}

} // namespace
} // namespace corvesta::test
