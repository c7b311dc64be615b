#pragma once
// What the three UDP kinds share: the socket set-up on the calling thread
// and the receive wait on the worker.

#include <chrono>
#include <functional>
#include <optional>
#include <span>

#include "nas/query.h"
#include "nas/udp/udp_datagrams.h"

namespace corvesta {

// Marks the query as UDP and opens the channel of each adapter of `table`
// (all of them, or only `onlyAdapter`); `query.channels` is indexed by
// adapter. False when an adapter's sockets cannot be opened.
bool SetUpUdpSockets(CQuery &query, const AdapterTable &table,
                     std::optional<std::uint32_t> onlyAdapter = std::nullopt);

enum class WaitEnd {
  Accepted, // `take` accepted a datagram
  TimedOut, // the time ran out first
  Stopped,  // the query was asked to stop
};

// One wait of an exchange: receives datagrams on the adapter's channel into
// the query's reply buffer and hands each to `take` until `take` returns
// true or `wait` has passed. A datagram that `take` refuses, or a failed
// receive, does not end the wait, so no stream of foreign datagrams can use
// up an exchange's count of waits.
WaitEnd WaitForDatagram(CQuery &query, UdpChannel &channel, std::chrono::microseconds wait,
                        const std::function<bool(udp::Bytes)> &take);

// The time during which one adapter's channel is read in a wait over
// several adapters.
struct ChannelWindow {
  UdpChannel *channel = nullptr;
  std::chrono::steady_clock::time_point end;
};

// Reads several adapters' channels at once: every datagram that reaches
// windows[i].channel is handed to `take(i, datagram)` while windows[i].end
// has not passed; what arrives later stays unread. `take` may move any end
// forward or back. Each single wait lasts at most `longestWait`, so that a
// stop is seen as soon as in a wait on one adapter. Ends with TimedOut once
// every window has closed, or with Stopped.
WaitEnd ReceiveUntil(CQuery &query, std::span<ChannelWindow> windows,
                     std::chrono::microseconds longestWait,
                     const std::function<void(std::size_t, udp::Bytes)> &take);

} // namespace corvesta
