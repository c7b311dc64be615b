#pragma once
// The sockets of one query on one adapter: a send socket whose datagrams
// leave through the adapter to the group, and two receive sockets that
// together see every datagram for the protocol port that arrives on that
// adapter and nothing from another adapter:
//   - one bound to the adapter's own address, for replies sent by unicast;
//   - one bound to the group address and joined to it on this adapter only,
//     with IP_MULTICAST_ALL off, for replies sent to the group.
// (A socket bound to a unicast address never sees group datagrams on Linux,
// and a socket bound to the wildcard address would see every adapter's.)

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

#include "nas/udp/adapter_table.h"
#include "platform/unique_fd.h"

namespace corvesta {

class UdpChannel {
public:
  enum class Wait {
    Datagram, // one datagram was received
    TimedOut, // nothing arrived within the time
    Failed,   // the wait or the receive failed; nothing was received
  };

  // Opens the three sockets for `adapter`. False when any of them cannot be
  // made; nothing stays open then.
  bool Open(const AdapterEntry &adapter);
  void Close();
  bool IsOpen() const { return static_cast<bool>(m_send); }

  // Sends the datagram to the group and protocol port through the adapter.
  // True when the whole datagram was handed to the system.
  bool Send(std::span<const std::uint8_t> datagram);

  // Waits at most `timeout` for a datagram on either receive socket and
  // receives one into `buffer` (its size is the most that is read); `length`
  // is the number of bytes received.
  Wait Receive(std::vector<std::uint8_t> &buffer, std::size_t &length,
               std::chrono::microseconds timeout);

  // Waits at most `timeout` until any of `channels` has a datagram to read
  // on either receive socket; `readable[i]` then says whether channels[i]
  // has one (Receive with no time takes it). False when the time ran out or
  // the wait failed.
  static bool WaitForAny(std::span<UdpChannel *const> channels, std::chrono::microseconds timeout,
                         std::vector<bool> &readable);

private:
  UniqueFd m_send;
  UniqueFd m_unicast;
  UniqueFd m_group;
  bool m_groupFirst = false; // alternates which socket is read first
};

} // namespace corvesta
