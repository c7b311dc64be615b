// corvesta-cli run as a person runs it, against nas-sim: `connect` naming
// the box by its address against `discover`, alternating, in the same run.
// `connect` logs in, reads the box's address and volumes and logs out; its
// search ends once the named box has answered, where `discover` listens for
// every box through the adapter's full waits. Each command is timed by the
// wall clock from the start of the process to its end.
//
// Run it inside a network namespace, where it starts nas-sim itself:
//   scripts/netns-run build/bench/bench_cli_connect
// or with every other benchmark: scripts/bench

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "nas_sim_launcher.h"
#include "ratio_line.h"

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 5;
constexpr char kBoxAddress[] = "127.0.0.3";

const char kState[] = R"({"boxes": [{
  "name": "bench", "mac": "00:11:22:33:44:03", "ip": "127.0.0.3",
  "netmask": "255.0.0.0", "gateway": "127.0.0.1", "dhcp": false,
  "accounts": [{"user": "admin", "password": "benchpass", "access": "1,1,1,1,1,1"}]
}]})";

// Runs corvesta-cli with `args`, its output thrown away and a settings
// folder of its own; milliseconds until it ended, negative when it failed.
double TimedCli(const std::vector<std::string> &args, const std::string &configFolder) {
  std::vector<std::string> environment;
  for (char **entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (text.rfind("XDG_CONFIG_HOME=", 0) != 0 && text.rfind("CORVESTA_PASSWORD=", 0) != 0) {
      environment.push_back(text);
    }
  }
  environment.push_back("XDG_CONFIG_HOME=" + configFolder);
  environment.push_back("CORVESTA_PASSWORD=benchpass");
  std::vector<char *> envp;
  for (std::string &text : environment) {
    envp.push_back(text.data());
  }
  envp.push_back(nullptr);
  std::vector<std::string> words{CORVESTA_CLI_PATH};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char *> argv;
  for (std::string &word : words) {
    argv.push_back(word.data());
  }
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = Clock::now();
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    return -1;
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) {
    return -1;
  }
  const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? elapsed : -1;
}

using corvesta::bench::Median;

void BM_ConnectByAddressAgainstDiscover(benchmark::State &state) {
  if (!corvesta::bench::NasSimLauncher::InNetns()) {
    state.SkipWithError("run inside scripts/netns-run: it starts nas-sim on loopback");
    return;
  }
  static corvesta::bench::NasSimLauncher sim;
  static bool started = false;
  if (!started && !(started = sim.Start(kState))) {
    state.SkipWithError(sim.Error().c_str());
    return;
  }
  char pattern[] = "/tmp/corvesta-bench-cli-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) {
    state.SkipWithError("cannot make a settings folder");
    return;
  }
  const std::string config = pattern;
  std::vector<double> connect;
  std::vector<double> discover;
  for (auto _ : state) {
    const double searched = TimedCli({"discover"}, config);
    const double connected = TimedCli({"connect", kBoxAddress}, config);
    if (searched < 0 || connected < 0) {
      state.SkipWithError("a corvesta-cli command failed");
      break;
    }
    discover.push_back(searched);
    connect.push_back(connected);
    state.SetIterationTime((searched + connected) / 1000.0);
  }
  std::system(("rm -rf " + config).c_str());
  if (connect.empty()) {
    return;
  }
  state.counters["discover_ms"] = Median(discover);
  state.counters["connect_ms"] = Median(connect);
  state.counters["ratio"] = Median(connect) / Median(discover);
}
BENCHMARK(BM_ConnectByAddressAgainstDiscover)
    ->Iterations(kRounds)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
  return corvesta::bench::RunWithRatio(argc, argv, "ratio",
                                       "corvesta-cli connect 127.0.0.3 / discover (median)", 0.1);
}
