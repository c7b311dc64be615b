// Cost of hearing a LAN full of boxes: parsing 200 probe replies and
// recording them in a device list (each checked against the boxes already
// listed), against a baseline that only copies the same datagrams into 200
// records. Run it with --benchmark_counters_tabular; the ratio of the two
// times is the cost of the parsing and the duplicate check.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "nas/udp/discovery.h"
#include "nas/udp/udp_datagrams.h"

using namespace corvesta;

namespace {

constexpr int kBoxes = 200;

struct Replies {
  RequestTag tag;
  std::vector<udp::Datagram> datagrams;
  AdapterEntry adapter;

  Replies() {
    tag.bytes = {1, 2, 3, 4, 5, 6, 0, 0, 0, 0};
    std::strcpy(adapter.address, "127.0.0.1");
    std::strcpy(adapter.mask, "255.0.0.0");
    for (int i = 0; i < kBoxes; ++i) {
      udp::Datagram d(udp::kReplyNameOffset, 0);
      d[0] = 0x08;
      std::memcpy(d.data() + 1, tag.bytes.data(), 6);
      d[11] = 0x02;
      d[15] = static_cast<std::uint8_t>(i >> 8);
      d[16] = static_cast<std::uint8_t>(i);
      d[17] = 127;
      d[19] = 1;
      d[20] = static_cast<std::uint8_t>(i + 1);
      d[21] = '0';
      std::memcpy(d.data() + 24, "255.0.0.0", 9);
      std::memcpy(d.data() + 40, "127.0.0.1", 9);
      d[57] = 0x0B;
      char name[32];
      int length = std::snprintf(name, sizeof name, "box-%03d", i);
      d[100] = static_cast<std::uint8_t>(length);
      d.insert(d.end(), name, name + length);
      datagrams.push_back(d);
    }
  }
};

void BM_BaselineCopyDatagrams(benchmark::State &state) {
  Replies replies;
  for (auto _ : state) {
    std::vector<NasDevice> devices;
    for (const udp::Datagram &d : replies.datagrams) {
      NasDevice &device = devices.emplace_back();
      std::memcpy(device.wire_id, d.data() + 11, sizeof device.wire_id);
      std::memcpy(device.name, d.data() + udp::kReplyNameOffset, d.size() - udp::kReplyNameOffset);
    }
    benchmark::DoNotOptimize(devices.data());
  }
  state.SetItemsProcessed(state.iterations() * kBoxes);
}
BENCHMARK(BM_BaselineCopyDatagrams);

void BM_ParseAndRecordProbeReplies(benchmark::State &state) {
  Replies replies;
  for (auto _ : state) {
    std::vector<NasDevice> devices;
    for (const udp::Datagram &d : replies.datagrams) {
      if (auto reply = udp::ParseProbeReply(d, replies.tag)) {
        RecordProbeReply(devices, *reply, 0, replies.adapter);
      }
    }
    if (devices.size() != kBoxes) {
      state.SkipWithError("not every box was recorded");
    }
    benchmark::DoNotOptimize(devices.data());
  }
  state.SetItemsProcessed(state.iterations() * kBoxes);
}
BENCHMARK(BM_ParseAndRecordProbeReplies);

} // namespace
