// How corvesta-cli's format leaves a box when the chain does not run through:
// a box whose file browser was stopped for the format gets it started again,
// and a signal during the format sends what leaves the box usable before the
// logout.

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>

#include <nlohmann/json.hpp>

#include "cli_process.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"

namespace corvesta::test {
namespace {

using nlohmann::json;

json NewBox() {
  json box = NasSimProcess::MakeBox("BLANK", "127.0.0.4", "02:aa:00:00:00:04", "admin");
  box["disks"] =
      json::array({{{"device", "sda"}, {"size_gib", 500}}, {{"device", "sdb"}, {"size_gib", 500}}});
  box["format_seconds"] = 2;
  return box;
}

class CliFormatEndTest : public ::testing::Test {
protected:
  void Start(const json &box) {
    ASSERT_TRUE(m_sim.Start(NasSimProcess::MakeState({box}))) << m_sim.Error();
  }

  CliRun Format(int signal = 0, const std::string &when = {}, int signalCount = 1) {
    CliCall call;
    if (signal != 0) {
      call.signal = signal;
      call.signalCount = signalCount;
      call.signalWhen = [this, when] { return Requests(when) > 0; };
    }
    call.args = {"format", "BLANK", "raid1", "--yes"};
    call.env["XDG_CONFIG_HOME"] = m_config.Path().string();
    call.env["CORVESTA_PASSWORD"] = "admin";
    CliRun run = RunCli(call);
    EXPECT_FALSE(run.timedOut) << run.err;
    return run;
  }

  json Box() {
    const auto box = m_sim.Box("BLANK");
    EXPECT_TRUE(box.has_value()) << m_sim.Error();
    return box.value_or(json::object());
  }

  json Runtime() {
    const auto box = m_sim.Box("BLANK");
    EXPECT_TRUE(box.has_value()) << m_sim.Error();
    return box ? box->at("runtime").at("format") : json::object();
  }

  std::size_t Requests(const std::string &fragment) const {
    std::size_t count = 0;
    for (const SimRequest &request : m_sim.Requests()) {
      if (request.transport == "tcp" && request.bytes.find(fragment) != std::string::npos) {
        ++count;
      }
    }
    return count;
  }

  TempFolder m_config;
  NasSimProcess m_sim;
};

TEST_F(CliFormatEndTest, ARefusedCreationLeavesTheFileBrowserRunning) {
  json box = NewBox();
  box["faults"] = {{"http", {{"cgi_FMT_Create_DiskMGR", {{"refuse", true}}}}}};
  Start(box);
  const CliRun run = Format();
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("setting failed."), std::string::npos) << run.err;
  EXPECT_EQ(Requests("cmd=cgi_FMT_Disk_Finish"), 1u);
  EXPECT_EQ(Runtime().at("file_browser_stopped"), false) << Runtime();
  EXPECT_EQ(Requests("cmd=logout"), 1u);
}

// The first Ctrl-C only warns: the format goes on to its end.
TEST_F(CliFormatEndTest, AFirstCtrlCWarnsAndTheFormatGoesOn) {
  Start(NewBox());
  const CliRun run = Format(SIGINT, "cmd=cgi_FMT_Create_DiskMGR");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("The NAS is formatting. Leaving now leaves its file service stopped"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(Requests("cmd=cgi_FMT_Disk_Finish"), 1u);
  EXPECT_EQ(Runtime().at("file_browser_stopped"), false) << Runtime();
  EXPECT_EQ(Box().at("volumes").size(), 1u);
}

// A second Ctrl-C, SIGTERM or SIGHUP while the box formats: the remount is
// asked for at once (a box still formatting refuses it, and the finish), then
// the logout, then the end with 128 plus the signal's number.
struct LeaveCase {
  int signal;
  int count; // how often it is sent
};

void PrintTo(const LeaveCase &c, std::ostream *os) {
  *os << "signal " << c.signal << " sent " << c.count << " time(s)";
}

class CliFormatLeaveTest : public CliFormatEndTest,
                           public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(CliFormatLeaveTest, LeavingWhileTheBoxFormatsAsksForTheRemountThenLogsOut) {
  json box = NewBox();
  box["format_seconds"] = 600; // formats for the whole test
  Start(box);
  const auto started = std::chrono::steady_clock::now();
  const CliRun run = Format(GetParam().signal, "cmd=cgi_FMT_Create_DiskMGR", GetParam().count);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(60));
  EXPECT_EQ(run.status, 128 + GetParam().signal) << run.err;
  EXPECT_NE(run.err.find("Interrupted: restoring the NAS's file service, then logging out."),
            std::string::npos)
      << run.err;
  EXPECT_EQ(Requests("cmd=cgi_Disk_Remount"), 1u);
  EXPECT_EQ(Requests("cmd=logout"), 1u);
}

INSTANTIATE_TEST_SUITE_P(Signals, CliFormatLeaveTest,
                         ::testing::Values(LeaveCase{SIGTERM, 1}, LeaveCase{SIGHUP, 1},
                                           LeaveCase{SIGINT, 2}));

// Leaving while the file browser stops: no volume is created, the file
// browser starts again, and the box is left as it was.
TEST_F(CliFormatEndTest, LeavingBeforeTheCreationLeavesTheBoxAsItWas) {
  json box = NewBox();
  box["faults"] = {{"http", {{"cgi_AJAXPlorer_Stop", {{"delay_ms", 1500}}}}}};
  Start(box);
  const CliRun run = Format(SIGTERM, "cmd=cgi_AJAXPlorer_Stop");
  EXPECT_EQ(run.status, 128 + SIGTERM) << run.err;
  EXPECT_EQ(Requests("cmd=cgi_FMT_Create_DiskMGR"), 0u);
  EXPECT_EQ(Requests("cmd=cgi_FMT_Disk_Finish"), 1u);
  EXPECT_EQ(Runtime().at("file_browser_stopped"), false) << Runtime();
  EXPECT_EQ(Requests("cmd=logout"), 1u);
}

} // namespace
} // namespace corvesta::test
