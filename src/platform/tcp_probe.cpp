#include "platform/tcp_probe.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>

#include "platform/unique_fd.h"

namespace corvesta {

namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::max<long long>(0, left));
}

// Waits for `events` on the socket until the deadline; the revents, 0 when
// the time ran out.
short WaitFor(int fd, short events, Clock::time_point deadline) {
  pollfd waiting{fd, events, 0};
  int ready = 0;
  while ((ready = ::poll(&waiting, 1, MsLeft(deadline))) < 0 && errno == EINTR) {
  }
  return ready > 0 ? waiting.revents : 0;
}

// Connects; Open with the socket in `fd`, else why not.
PortProbe Connect(std::string_view ipv4, std::uint16_t port, Clock::time_point deadline,
                  UniqueFd &fd) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  if (::inet_pton(AF_INET, std::string(ipv4).c_str(), &address.sin_addr) != 1) {
    return PortProbe::NoAddress;
  }
  fd = UniqueFd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd) {
    return PortProbe::Silent;
  }
  if (::connect(fd.Get(), reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) {
    return PortProbe::Open;
  }
  if (errno == ECONNREFUSED) {
    return PortProbe::Refused;
  }
  if (errno != EINPROGRESS) {
    return PortProbe::Silent;
  }
  if (WaitFor(fd.Get(), POLLOUT, deadline) == 0) {
    return PortProbe::Silent;
  }
  int error = 0;
  socklen_t size = sizeof error;
  if (::getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0) {
    return PortProbe::Silent;
  }
  if (error == 0) {
    return PortProbe::Open;
  }
  return error == ECONNREFUSED ? PortProbe::Refused : PortProbe::Silent;
}

} // namespace

PortProbe ProbeTcpService(std::string_view ipv4, std::uint16_t port,
                          std::chrono::milliseconds limit, std::string_view greeting) {
  const Clock::time_point deadline = Clock::now() + limit;
  UniqueFd fd;
  if (const PortProbe connected = Connect(ipv4, port, deadline, fd); connected != PortProbe::Open) {
    return connected;
  }
  std::size_t sent = 0;
  while (sent < greeting.size()) {
    const ssize_t n =
        ::send(fd.Get(), greeting.data() + sent, greeting.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (WaitFor(fd.Get(), POLLOUT, deadline) == 0) {
        return PortProbe::Mute;
      }
    } else {
      return PortProbe::Open; // closed or reset by the service: an answer
    }
  }
  // Any readable state (a byte, the end, an error) is the service's doing.
  return WaitFor(fd.Get(), POLLIN, deadline) != 0 ? PortProbe::Open : PortProbe::Mute;
}

} // namespace corvesta
