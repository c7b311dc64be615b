#include "nas/udp/udp_query.h"

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

WaitEnd WaitForDatagram(CQuery &query, UdpChannel &channel, std::chrono::microseconds wait,
                        const std::function<bool(udp::Bytes)> &take) {
  using Clock = std::chrono::steady_clock;
  if (query.reply.size() != box::kReplyBufferSize) {
    query.reply.assign(box::kReplyBufferSize, 0);
  }
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

} // namespace corvesta
