#pragma once
// Small helpers over POSIX sockets for IPv4.

#include <netinet/in.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "unique_fd.h"

namespace corvesta::sim {

sockaddr_in MakeEndpoint(std::uint32_t hostOrderIp, std::uint16_t port);
std::string EndpointText(const sockaddr_in &endpoint);    // "a.b.c.d:port"
std::string EndpointAddress(const sockaddr_in &endpoint); // "a.b.c.d"

// A non-blocking UDP socket with address reuse, bound to ip:port. `error`
// names the address when it fails.
UniqueFd OpenUdpSocket(std::uint32_t hostOrderIp, std::uint16_t port, std::string &error);

// A non-blocking TCP listener with address reuse on ip:port.
UniqueFd OpenTcpListener(std::uint32_t hostOrderIp, std::uint16_t port, std::string &error);

bool SetNonBlocking(int fd);

} // namespace corvesta::sim
