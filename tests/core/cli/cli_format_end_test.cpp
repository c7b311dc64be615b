// How corvesta-cli's format leaves a box when the chain does not run through:
// a box whose file browser was stopped for the format gets it started again.

#include <gtest/gtest.h>

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

  CliRun Format() {
    CliCall call;
    call.args = {"format", "BLANK", "raid1", "--yes"};
    call.env["XDG_CONFIG_HOME"] = m_config.Path().string();
    call.env["CORVESTA_PASSWORD"] = "admin";
    CliRun run = RunCli(call);
    EXPECT_FALSE(run.timedOut) << run.err;
    return run;
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

} // namespace
} // namespace corvesta::test
