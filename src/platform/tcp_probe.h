#pragma once
// Whether a TCP port of an IPv4 address takes connections: one connection
// attempt, bounded in time, closed at once.

#include <chrono>
#include <cstdint>
#include <string_view>

namespace corvesta {

enum class PortProbe {
  Open,     // the connection was taken
  Refused,  // the host answered and refused it
  Silent,   // no answer within the limit (or the host is unreachable)
  NoAddress // the text is no IPv4 address: nothing was sent
};

PortProbe ProbeTcpPort(std::string_view ipv4, std::uint16_t port, std::chrono::milliseconds limit);

} // namespace corvesta
