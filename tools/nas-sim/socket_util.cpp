#include "socket_util.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "ipv4_text.h"

namespace corvesta::sim {

namespace {
const sockaddr *AsSockaddr(const sockaddr_in &endpoint) {
  return reinterpret_cast<const sockaddr *>(&endpoint);
}

UniqueFd OpenBound(int type, std::uint32_t hostOrderIp, std::uint16_t port, std::string &error) {
  const std::string where =
      (type == SOCK_DGRAM ? "UDP " : "TCP ") + FormatIpv4(hostOrderIp) + ":" + std::to_string(port);
  UniqueFd fd(::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd.Valid()) {
    error = "cannot create a socket for " + where + ": " + std::strerror(errno);
    return {};
  }
  const int on = 1;
  ::setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  const sockaddr_in endpoint = MakeEndpoint(hostOrderIp, port);
  if (::bind(fd.Get(), AsSockaddr(endpoint), sizeof endpoint) != 0) {
    error = "cannot bind " + where + ": " + std::strerror(errno) +
            " (is the address on an interface of this namespace?)";
    return {};
  }
  return fd;
}
} // namespace

sockaddr_in MakeEndpoint(std::uint32_t hostOrderIp, std::uint16_t port) {
  sockaddr_in endpoint{};
  endpoint.sin_family = AF_INET;
  endpoint.sin_port = htons(port);
  endpoint.sin_addr.s_addr = htonl(hostOrderIp);
  return endpoint;
}

std::string EndpointAddress(const sockaddr_in &endpoint) {
  return FormatIpv4(ntohl(endpoint.sin_addr.s_addr));
}

std::string EndpointText(const sockaddr_in &endpoint) {
  return EndpointAddress(endpoint) + ":" + std::to_string(ntohs(endpoint.sin_port));
}

UniqueFd OpenUdpSocket(std::uint32_t hostOrderIp, std::uint16_t port, std::string &error) {
  return OpenBound(SOCK_DGRAM, hostOrderIp, port, error);
}

UniqueFd OpenTcpListener(std::uint32_t hostOrderIp, std::uint16_t port, std::string &error) {
  UniqueFd fd = OpenBound(SOCK_STREAM, hostOrderIp, port, error);
  if (fd.Valid() && ::listen(fd.Get(), 64) != 0) {
    error = "cannot listen on TCP " + FormatIpv4(hostOrderIp) + ":" + std::to_string(port) + ": " +
            std::strerror(errno);
    return {};
  }
  return fd;
}

bool SetNonBlocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL, 0);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

} // namespace corvesta::sim
