#pragma once
// Whether a TCP port of an IPv4 address takes connections and the service
// behind it answers: one connection attempt and one greeting, bounded in
// time, closed at once. A port whose connections the system takes while the
// service never reads them (a hung server) is no service that answers.

#include <chrono>
#include <cstdint>
#include <string_view>

namespace corvesta {

enum class PortProbe {
  Open,     // the connection was taken (and the greeting answered)
  Mute,     // the connection was taken, the greeting not answered in time
  Refused,  // the host answered and refused it
  Silent,   // no answer within the limit (or the host is unreachable)
  NoAddress // the text is no IPv4 address: nothing was sent
};

// Once connected, sends `greeting` and waits for the answer within what is
// left of the limit: a byte, or the service closing or resetting the
// connection, counts as answered.
PortProbe ProbeTcpService(std::string_view ipv4, std::uint16_t port,
                          std::chrono::milliseconds limit, std::string_view greeting);

} // namespace corvesta
