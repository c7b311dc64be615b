// One complete web command (start, worker thread, connect, send, receive
// until the box closes, parse, result message, the worker's end) against a
// bare TCP round trip with the same request bytes, both against nas-sim on
// loopback, in the same run. The two alternate, 2,000 of each; the median
// and the 99th percentile of single exchanges are reported, and their ratio
// (goal: median ratio within 5).
//
// Run it inside a network namespace, where it starts nas-sim itself:
//   scripts/netns-run build/bench/bench_http_exchange
// or with every other benchmark: scripts/bench

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "nas/box_protocol.h"
#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/http/command_set.h"
#include "nas/http/http_request_builder.h"
#include "nas/query.h"
#include "nas_sim_launcher.h"
#include "platform/message_queue_target.h"
#include "platform/text_codec.h"
#include "ratio_line.h"
#include "worker/private_messages.h"

using namespace corvesta;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kExchanges = 2000;
constexpr char kBoxIp[] = "127.0.0.30";

const char kState[] = R"({"boxes": [{
  "name": "bench", "mac": "00:11:22:33:44:30", "ip": "127.0.0.30",
  "netmask": "255.0.0.0", "gateway": "127.0.0.1", "dhcp": false,
  "accounts": [{"user": "admin", "password": "secret", "access": "1,1,1,1,1,1"}]
}]})";

struct Figures {
  double median = 0; // microseconds
  double p99 = 0;
};

Figures Summarise(std::vector<double> micros) {
  std::sort(micros.begin(), micros.end());
  Figures figures;
  figures.median = micros[micros.size() / 2];
  figures.p99 = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
  return figures;
}

bench::NasSimLauncher *Sim(benchmark::State &state) {
  static bench::NasSimLauncher sim;
  static bool started = false;
  if (!bench::NasSimLauncher::InNetns()) {
    state.SkipWithError("run inside scripts/netns-run: it starts nas-sim on loopback");
    return nullptr;
  }
  if (!started) {
    started = sim.Start(kState);
    if (!started) {
      state.SkipWithError(sim.Error().c_str());
      return nullptr;
    }
    const std::uint64_t generation = DeviceList::Instance().Clear();
    DeviceList::Instance().Update(generation, [](std::vector<NasDevice> &devices) {
      NasDevice device;
      CopyToField(device.ip, sizeof device.ip, kBoxIp);
      devices.push_back(device);
    });
    SetCurrentCredentials(MakeCredentials("admin", "secret"));
  }
  return &sim;
}

// The request that the LAN address command sends.
std::string LanAddressRequest() {
  return *FormatHttpRequest(box::EndpointPath(CommandIndex::ReadLanAddress), kBoxIp,
                            "cmd=cgi_get_lan_xml2&lan=0", CurrentCredentials());
}

bool BareRoundTrip(const sockaddr_in &target, const std::string &request) {
  const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  bool complete = false;
  if (::connect(socket, reinterpret_cast<const sockaddr *>(&target), sizeof target) == 0 &&
      ::send(socket, request.data(), request.size(), MSG_NOSIGNAL) ==
          static_cast<ssize_t>(request.size())) {
    char reply[box::kReplyBufferSize];
    std::size_t total = 0;
    ssize_t got = 0;
    while ((got = ::recv(socket, reply, sizeof reply, 0)) > 0) {
      total += static_cast<std::size_t>(got);
    }
    complete = got == 0 && total > 0;
  }
  ::shutdown(socket, SHUT_RDWR);
  ::close(socket);
  return complete;
}

// The command's worker may still be ending (deleting its query, leaving
// its thread) after the result message arrived: its time counts, so the
// exchange ends only once no query is alive any more.
bool WaitForWorkerEnd() {
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (CQuery::LiveCount() != 0) {
    if (Clock::now() > deadline) {
      return false;
    }
    std::this_thread::yield();
  }
  return true;
}

// Microseconds of one complete command, or nothing when it failed.
std::optional<double> TimedCommand(MessageQueueTarget &window) {
  const auto start = Clock::now();
  if (StartReadLanAddress(window.Handle(), 0) == 0) {
    return std::nullopt;
  }
  const std::optional<Message> result =
      window.WaitForMessage(WM_COMMAND_RESULT, std::chrono::seconds(20));
  if (!result || result->wParam != kResultSuccess || !WaitForWorkerEnd()) {
    return std::nullopt;
  }
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

std::optional<double> TimedBareRoundTrip(const sockaddr_in &target, const std::string &request) {
  const auto start = Clock::now();
  if (!BareRoundTrip(target, request)) {
    return std::nullopt;
  }
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// Bare round trips and complete commands alternate (which of the two goes
// first alternates too), so that both meet the same state of the machine.
void BM_CommandAgainstBareRoundTrip(benchmark::State &state) {
  if (Sim(state) == nullptr) {
    return;
  }
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(box::kHttpPort);
  ::inet_pton(AF_INET, kBoxIp, &target.sin_addr);
  const std::string request = LanAddressRequest();
  MessageQueueTarget window;
  std::vector<double> bare;
  std::vector<double> full;
  bare.reserve(kExchanges);
  full.reserve(kExchanges);
  bool bareFirst = true;
  for (auto _ : state) {
    std::optional<double> first =
        bareFirst ? TimedBareRoundTrip(target, request) : TimedCommand(window);
    std::optional<double> second =
        bareFirst ? TimedCommand(window) : TimedBareRoundTrip(target, request);
    if (!first || !second) {
      state.SkipWithError("an exchange failed");
      return;
    }
    bare.push_back(bareFirst ? *first : *second);
    full.push_back(bareFirst ? *second : *first);
    state.SetIterationTime((*first + *second) / 1e6);
    bareFirst = !bareFirst;
  }
  const Figures bareFigures = Summarise(bare);
  const Figures fullFigures = Summarise(full);
  state.counters["bare_median_us"] = bareFigures.median;
  state.counters["bare_p99_us"] = bareFigures.p99;
  state.counters["command_median_us"] = fullFigures.median;
  state.counters["command_p99_us"] = fullFigures.p99;
  state.counters["median_ratio"] = fullFigures.median / bareFigures.median;
  state.counters["p99_ratio"] = fullFigures.p99 / bareFigures.p99;
}
BENCHMARK(BM_CommandAgainstBareRoundTrip)
    ->Iterations(kExchanges)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
  return corvesta::bench::RunWithRatio(argc, argv, "median_ratio",
                                       "web command / bare TCP round trip (median)", 5.0);
}
