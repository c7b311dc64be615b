#pragma once
// The request log: one JSON object per line for every datagram and every web
// request received, flushed at once so that readers see it while the
// simulator runs.

#include <cstdio>
#include <string>
#include <string_view>

namespace corvesta::sim {

class RequestLog {
public:
  RequestLog() = default;
  ~RequestLog();
  RequestLog(const RequestLog &) = delete;
  RequestLog &operator=(const RequestLog &) = delete;

  // Opens (creates or appends to) the log file. Without a file nothing is written.
  bool Open(const std::string &path, std::string &error);

  // transport: "udp" or "tcp"; box: the box's name, or "*" for a datagram to
  // the group that concerns no single box; peer and local: "address:port".
  void Write(std::string_view box, std::string_view transport, std::string_view peer,
             std::string_view local, std::string_view bytes);

private:
  std::FILE *m_file = nullptr;
};

std::string ToHex(std::string_view bytes);

} // namespace corvesta::sim
