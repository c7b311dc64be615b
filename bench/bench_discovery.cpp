// Discovery over four adapters against discovery over one, in the same run.
// The three extra adapters are veth adapters without a cable (their peers
// stay down): nothing answers there, so each costs a discovery its full
// waits unless the adapters are probed at the same time. A simulated box
// answers on the loopback adapter. The two kinds alternate, so that both
// see the same load on the machine; each is timed by the wall clock from the
// start to the result message, the worker's whole time.
//
// Run it inside a network namespace, where it makes its adapters and starts
// nas-sim itself:
//   scripts/netns-run build/bench/bench_discovery
// or with every other benchmark: scripts/bench

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "nas/take_query.h"
#include "nas/udp/discovery.h"
#include "nas_sim_launcher.h"
#include "platform/message_queue_target.h"
#include "ratio_line.h"
#include "worker/private_messages.h"

using namespace corvesta;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRounds = 3;
constexpr int kExtraAdapters = 3;

const char kState[] = R"({"boxes": [{
  "name": "bench", "mac": "00:11:22:33:44:31", "ip": "127.0.0.31",
  "netmask": "255.0.0.0", "gateway": "127.0.0.1", "dhcp": false,
  "accounts": [{"user": "admin", "password": "admin", "access": "1,1,1,1,1,1"}]
}]})";

bool Shell(const std::string &command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Adapter(int i) {
  return "cvbench" + std::to_string(i);
}

bool MakeAdapters() {
  for (int i = 0; i < kExtraAdapters; ++i) {
    const std::string name = Adapter(i);
    Shell("ip link del " + name);
    if (!Shell("ip link add " + name + " type veth peer name " + name + "p") ||
        !Shell("ip addr add 10.81." + std::to_string(i) + ".1/24 dev " + name)) {
      return false;
    }
  }
  return true;
}

bool SetExtraAdapters(bool up) {
  for (int i = 0; i < kExtraAdapters; ++i) {
    if (!Shell("ip link set " + Adapter(i) + (up ? " up" : " down"))) {
      return false;
    }
  }
  return true;
}

// Milliseconds from the start of a discovery to its result; negative when
// it failed.
double TimedDiscovery(MessageQueueTarget &window) {
  const auto start = Clock::now();
  const Ticket ticket = StartDiscovery(window.Handle());
  if (ticket == 0) {
    return -1;
  }
  const auto result = window.WaitForMessage(WM_QUERY_RESULT, std::chrono::seconds(30));
  const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  if (!result) {
    return -1;
  }
  TakeQuery(*result); // deleted here
  return elapsed;
}

using bench::Median;

void BM_DiscoveryOneAndFourAdapters(benchmark::State &state) {
  if (!bench::NasSimLauncher::InNetns()) {
    state.SkipWithError("run inside scripts/netns-run: it makes adapters and starts nas-sim");
    return;
  }
  static bench::NasSimLauncher sim;
  static bool started = false;
  if (!started && !(started = sim.Start(kState))) {
    state.SkipWithError(sim.Error().c_str());
    return;
  }
  if (!MakeAdapters()) {
    state.SkipWithError("cannot make the veth adapters");
    return;
  }
  MessageQueueTarget window;
  std::vector<double> one;
  std::vector<double> four;
  for (auto _ : state) {
    for (bool extra : {false, true}) {
      if (!SetExtraAdapters(extra)) {
        state.SkipWithError("cannot switch the veth adapters");
        return;
      }
      const double ms = TimedDiscovery(window);
      if (ms < 0) {
        state.SkipWithError("a discovery failed");
        return;
      }
      (extra ? four : one).push_back(ms);
      state.SetIterationTime(ms / 1000.0);
    }
  }
  SetExtraAdapters(false);
  state.counters["one_adapter_ms"] = Median(one);
  state.counters["four_adapters_ms"] = Median(four);
  state.counters["ratio"] = Median(four) / Median(one);
}
BENCHMARK(BM_DiscoveryOneAndFourAdapters)
    ->Iterations(kRounds)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
  return corvesta::bench::RunWithRatio(argc, argv, "ratio",
                                       "discovery 4 adapters / 1 adapter (median)", 1.1);
}
