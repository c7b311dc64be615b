#include "platform/tcp_probe.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>

#include "platform/unique_fd.h"

namespace corvesta {

PortProbe ProbeTcpPort(std::string_view ipv4, std::uint16_t port, std::chrono::milliseconds limit) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  if (::inet_pton(AF_INET, std::string(ipv4).c_str(), &address.sin_addr) != 1) {
    return PortProbe::NoAddress;
  }
  const UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
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
  pollfd waiting{fd.Get(), POLLOUT, 0};
  int ready = 0;
  while ((ready = ::poll(&waiting, 1, static_cast<int>(limit.count()))) < 0 && errno == EINTR) {
  }
  if (ready <= 0) {
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

} // namespace corvesta
