// The password given in CORVESTA_PASSWORD stays in corvesta-cli: the browser
// opener it starts (and the browser that opener starts, with the same
// environment) never sees the variable. The link itself carries the password,
// as the box's web login expects.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "cli_process.h"
#include "support/nas_sim_process.h"
#include "support/temp_folder.h"

namespace corvesta::test {
namespace {

constexpr char kPassword[] = "alphapass1";

// A stand-in for xdg-open on PATH that writes its argument and what it sees
// of the variable next to itself.
std::filesystem::path WriteOpener(const std::filesystem::path &folder) {
  const std::filesystem::path opener = folder / "xdg-open";
  std::ofstream(opener) << "#!/bin/sh\n"
                           "{ printf 'link=%s\\n' \"$1\"\n"
                           "  printf 'variable=%s\\n' \"${CORVESTA_PASSWORD-unset}\"\n"
                           "  env | grep -c CORVESTA_PASSWORD\n"
                           "} > \"$(dirname \"$0\")/seen\"\n"
                           "exit 0\n";
  ::chmod(opener.c_str(), 0755);
  return folder / "seen";
}

TEST(CliSecretTest, TheBrowserOpenerDoesNotInheritThePasswordVariable) {
  NasSimProcess sim;
  ASSERT_TRUE(sim.Start(NasSimProcess::MakeState(
      {NasSimProcess::MakeBox("ALPHA", "127.0.0.2", "02:aa:00:00:00:02", kPassword)})))
      << sim.Error();
  TempFolder config;
  TempFolder bin;
  const std::filesystem::path seen = WriteOpener(bin.Path());
  const char *path = std::getenv("PATH");

  CliCall call;
  call.args = {"center", "ALPHA", "file"};
  call.env["XDG_CONFIG_HOME"] = config.Path().string();
  call.env["CORVESTA_PASSWORD"] = kPassword;
  call.env["PATH"] = bin.Path().string() + ":" + (path ? path : "/usr/bin:/bin");
  const CliRun run = RunCli(call);
  ASSERT_FALSE(run.timedOut) << run.err;
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFileBytes(seen),
            "link=http://127.0.0.2/web/utility_redirect.html?m=1&u=admin&p=alphapass1\n"
            "variable=unset\n"
            "0\n");
}

} // namespace
} // namespace corvesta::test
