#include "nas/udp/udp_query.h"

#include <algorithm>
#include <vector>

#include "nas/box_protocol.h"

namespace corvesta {

bool SetUpUdpSockets(CQuery &query, const AdapterTable &table,
                     std::optional<std::uint32_t> onlyAdapter) {
  query.transport = Transport::Udp;
  query.channels.clear();
  query.channels.resize(table.count);
  for (std::uint32_t i = 0; i < table.count; ++i) {
    if (onlyAdapter && *onlyAdapter != i) {
      continue;
    }
    if (!query.channels[i].Open(table.adapters[i])) {
      query.channels.clear();
      return false;
    }
  }
  return true;
}

namespace {
void EnsureReplyBuffer(CQuery &query) {
  if (query.reply.size() != box::kReplyBufferSize) {
    query.reply.assign(box::kReplyBufferSize, 0);
  }
}
} // namespace

WaitEnd WaitForDatagram(CQuery &query, UdpChannel &channel, std::chrono::microseconds wait,
                        const std::function<bool(udp::Bytes)> &take) {
  using Clock = std::chrono::steady_clock;
  EnsureReplyBuffer(query);
  const Clock::time_point deadline = Clock::now() + wait;
  while (!query.StopRequested()) {
    auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
      return WaitEnd::TimedOut;
    }
    std::size_t length = 0;
    UdpChannel::Wait got = channel.Receive(query.reply, length, left);
    if (got == UdpChannel::Wait::TimedOut) {
      return WaitEnd::TimedOut;
    }
    if (got == UdpChannel::Wait::Datagram && take(udp::Bytes(query.reply.data(), length))) {
      return WaitEnd::Accepted;
    }
  }
  return WaitEnd::Stopped;
}

WaitEnd ReceiveUntil(CQuery &query, std::span<ChannelWindow> windows,
                     std::chrono::microseconds longestWait,
                     const std::function<void(std::size_t, udp::Bytes)> &take) {
  using Clock = std::chrono::steady_clock;
  EnsureReplyBuffer(query);
  std::vector<std::size_t> open;
  std::vector<UdpChannel *> channels;
  std::vector<bool> readable;
  while (!query.StopRequested()) {
    const Clock::time_point now = Clock::now();
    open.clear();
    channels.clear();
    Clock::time_point soonest = now + longestWait;
    for (std::size_t i = 0; i < windows.size(); ++i) {
      if (now < windows[i].end) {
        open.push_back(i);
        channels.push_back(windows[i].channel);
        soonest = std::min(soonest, windows[i].end);
      }
    }
    if (open.empty()) {
      return WaitEnd::TimedOut;
    }
    const auto wait = std::chrono::duration_cast<std::chrono::microseconds>(soonest - now);
    if (!UdpChannel::WaitForAny(channels, wait, readable)) {
      continue; // the time ran out (the windows are looked at again) or a signal came
    }
    // One datagram from each readable channel per round, so that no adapter
    // waits behind a stream on another.
    for (std::size_t k = 0; k < open.size(); ++k) {
      const std::size_t i = open[k];
      if (!readable[k] || Clock::now() >= windows[i].end) {
        continue;
      }
      std::size_t length = 0;
      if (windows[i].channel->Receive(query.reply, length, std::chrono::microseconds(0)) ==
          UdpChannel::Wait::Datagram) {
        take(i, udp::Bytes(query.reply.data(), length));
      }
    }
  }
  return WaitEnd::Stopped;
}

} // namespace corvesta
