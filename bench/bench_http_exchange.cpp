// One complete web command (start, worker thread, connect, send, receive
// until the box closes, parse, result message) against a bare TCP round trip
// with the same request bytes, both against nas-sim on loopback, in the same
// run. Each runs 2,000 times one after the other and reports the median and
// the 99th percentile of single exchanges; the command's counters also give
// its ratio to the bare round trip (goal: median ratio within 5).
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
#include <vector>

#include "nas/box_protocol.h"
#include "nas/http/command_set.h"
#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/http/http_request_builder.h"
#include "nas_sim_launcher.h"
#include "platform/message_queue_target.h"
#include "platform/text_codec.h"
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

std::optional<Figures> g_bare;

Figures Summarise(std::vector<double> micros) {
  std::sort(micros.begin(), micros.end());
  Figures figures;
  figures.median = micros[micros.size() / 2];
  figures.p99 = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
  return figures;
}

void Report(benchmark::State &state, const Figures &figures) {
  state.counters["median_us"] = figures.median;
  state.counters["p99_us"] = figures.p99;
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

void BM_BareTcpRoundTrip(benchmark::State &state) {
  if (Sim(state) == nullptr) {
    return;
  }
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(box::kHttpPort);
  ::inet_pton(AF_INET, kBoxIp, &target.sin_addr);
  const std::string request = LanAddressRequest();
  std::vector<double> micros;
  micros.reserve(kExchanges);
  for (auto _ : state) {
    const auto start = Clock::now();
    if (!BareRoundTrip(target, request)) {
      state.SkipWithError("a bare round trip failed");
      return;
    }
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  g_bare = Summarise(micros);
  Report(state, *g_bare);
}
BENCHMARK(BM_BareTcpRoundTrip)->Iterations(kExchanges)->Unit(benchmark::kMicrosecond);

void BM_CommandExchange(benchmark::State &state) {
  if (Sim(state) == nullptr) {
    return;
  }
  MessageQueueTarget window;
  std::vector<double> micros;
  micros.reserve(kExchanges);
  for (auto _ : state) {
    const auto start = Clock::now();
    if (StartReadLanAddress(window.Handle(), 0) == 0) {
      state.SkipWithError("the command did not start");
      return;
    }
    const std::optional<Message> result =
        window.WaitForMessage(WM_COMMAND_RESULT, std::chrono::seconds(20));
    if (!result || result->wParam != kResultSuccess) {
      state.SkipWithError("the command failed");
      return;
    }
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  const Figures figures = Summarise(micros);
  Report(state, figures);
  if (g_bare) {
    state.counters["median_ratio"] = figures.median / g_bare->median;
    state.counters["p99_ratio"] = figures.p99 / g_bare->p99;
  }
}
BENCHMARK(BM_CommandExchange)->Iterations(kExchanges)->Unit(benchmark::kMicrosecond);

} // namespace
