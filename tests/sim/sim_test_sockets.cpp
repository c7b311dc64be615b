#include "sim_test_sockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/base64.h"

namespace corvesta::test {

namespace {

constexpr std::uint16_t kPort = 13579;

sockaddr_in Endpoint(const std::string &address, std::uint16_t port) {
  sockaddr_in endpoint{};
  endpoint.sin_family = AF_INET;
  endpoint.sin_port = htons(port);
  ::inet_pton(AF_INET, address.c_str(), &endpoint.sin_addr);
  return endpoint;
}

int BoundUdp(const std::string &address, std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  const sockaddr_in endpoint = Endpoint(address, port);
  if (::bind(fd, reinterpret_cast<const sockaddr *>(&endpoint), sizeof endpoint) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::string EndpointText(const sockaddr_in &endpoint) {
  char text[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &endpoint.sin_addr, text, sizeof text);
  return std::string(text) + ":" + std::to_string(ntohs(endpoint.sin_port));
}

void PutU32(std::string &bytes, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

} // namespace

DatagramClient::DatagramClient() {
  m_group = BoundUdp("224.0.0.1", kPort);
  m_unicast = BoundUdp(kClientAddress, kPort);
  m_send = BoundUdp(kClientAddress, 0);
  if (m_group >= 0) {
    const int off = 0;
    ::setsockopt(m_group, IPPROTO_IP, IP_MULTICAST_ALL, &off, sizeof off);
    ip_mreqn join{};
    ::inet_pton(AF_INET, "224.0.0.1", &join.imr_multiaddr);
    ::inet_pton(AF_INET, kClientAddress, &join.imr_address);
    ::setsockopt(m_group, IPPROTO_IP, IP_ADD_MEMBERSHIP, &join, sizeof join);
  }
  if (m_send >= 0) {
    in_addr outgoing{};
    ::inet_pton(AF_INET, kClientAddress, &outgoing);
    ::setsockopt(m_send, IPPROTO_IP, IP_MULTICAST_IF, &outgoing, sizeof outgoing);
  }
}

DatagramClient::~DatagramClient() {
  for (const int fd : {m_group, m_unicast, m_send}) {
    if (fd >= 0) {
      ::close(fd);
    }
  }
}

bool DatagramClient::Send(const std::string &bytes, const std::string &address) {
  const sockaddr_in to = Endpoint(address, kPort);
  return ::sendto(m_send, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr *>(&to),
                  sizeof to) == static_cast<ssize_t>(bytes.size());
}

std::vector<Datagram> DatagramClient::Receive(std::chrono::milliseconds window) {
  std::vector<Datagram> received;
  const auto deadline = std::chrono::steady_clock::now() + window;
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      return received;
    }
    pollfd fds[2] = {{m_group, POLLIN, 0}, {m_unicast, POLLIN, 0}};
    if (::poll(fds, 2, static_cast<int>(left.count())) <= 0) {
      continue;
    }
    for (int i = 0; i < 2; ++i) {
      if ((fds[i].revents & POLLIN) == 0) {
        continue;
      }
      char buffer[65536];
      sockaddr_in from{};
      socklen_t fromSize = sizeof from;
      const ssize_t size = ::recvfrom(fds[i].fd, buffer, sizeof buffer, 0,
                                      reinterpret_cast<sockaddr *>(&from), &fromSize);
      if (size <= 0) {
        continue;
      }
      Datagram datagram{std::string(buffer, static_cast<std::size_t>(size)), EndpointText(from),
                        i == 1};
      // The client's own requests come back on the group socket.
      const auto type = static_cast<unsigned char>(datagram.bytes[0]);
      if (type == 0x01 || type == 0x03 || type == 0x05) {
        continue;
      }
      received.push_back(std::move(datagram));
    }
  }
}

std::string Tag(std::uint8_t seed) {
  std::string tag(10, '\0');
  for (std::size_t i = 0; i < 6; ++i) {
    tag[i] = static_cast<char>(seed + i * 17);
  }
  return tag;
}

std::string Probe(const std::string &tag) {
  return std::string(1, '\x01') + tag;
}

std::string CredCheck(const std::string &tag, const std::string &wireId, const std::string &user,
                      const std::string &password) {
  std::string bytes(28, '\0');
  bytes[0] = 0x03;
  bytes.replace(1, 10, tag);
  bytes.replace(11, 10, wireId);
  bytes[21] = 0x04;
  PutU32(bytes, 24, static_cast<std::uint32_t>(user.size() + password.size() + 2));
  return bytes + user + "\x55\xAA" + password;
}

std::string SetAddress(const std::string &tag, const std::string &wireId, const std::string &ip,
                       const std::string &mask, const std::string &gateway, bool dhcp) {
  std::string block(120, '\0');
  block.replace(0, 4, "LAN1");
  block.replace(10, ip.size(), ip);
  block.replace(26, mask.size(), mask);
  block.replace(42, gateway.size(), gateway);
  block[58] = dhcp ? '1' : '0';
  std::string bytes(60, '\0');
  bytes[0] = 0x05;
  bytes.replace(1, 10, tag);
  bytes.replace(11, 10, wireId);
  bytes[21] = 0x15;
  bytes.replace(24, 16, block.substr(26, 16));
  bytes.replace(40, 16, block.substr(42, 16));
  PutU32(bytes, 56, 120);
  return bytes + block;
}

std::string WireIdOf(const std::string &mac, const std::string &ip) {
  std::string id;
  for (std::size_t i = 0; i < 6; ++i) {
    id.push_back(static_cast<char>(std::stoi(mac.substr(i * 3, 2), nullptr, 16)));
  }
  in_addr address{};
  ::inet_pton(AF_INET, ip.c_str(), &address);
  id.append(reinterpret_cast<const char *>(&address), 4); // network order: first octet first
  return id;
}

std::optional<HttpResult> HttpExchange(const std::string &address, const std::string &request,
                                       std::chrono::milliseconds timeout, const std::string &from) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in source = Endpoint(from, 0);
  const sockaddr_in to = Endpoint(address, 80);
  if (::bind(fd, reinterpret_cast<const sockaddr *>(&source), sizeof source) != 0 ||
      ::connect(fd, reinterpret_cast<const sockaddr *>(&to), sizeof to) != 0) {
    ::close(fd);
    return std::nullopt;
  }
  if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) !=
      static_cast<ssize_t>(request.size())) {
    ::close(fd);
    return std::nullopt;
  }
  HttpResult result;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd waitFor{fd, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&waitFor, 1, static_cast<int>(left.count())) <= 0) {
      break;
    }
    char chunk[65536];
    const ssize_t size = ::recv(fd, chunk, sizeof chunk, 0);
    if (size <= 0) {
      result.closedByBox = true;
      break;
    }
    result.reply.append(chunk, static_cast<std::size_t>(size));
    ++result.reads;
  }
  ::close(fd);
  return result;
}

std::string HttpReplyText(const std::string &address, const std::string &request,
                          const std::string &from) {
  const auto result = HttpExchange(address, request, std::chrono::seconds(5), from);
  return result ? result->reply : std::string();
}

bool ConnectionRefused(const std::string &address) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in to = Endpoint(address, 80);
  const bool refused = ::connect(fd, reinterpret_cast<const sockaddr *>(&to), sizeof to) != 0 &&
                       errno == ECONNREFUSED;
  ::close(fd);
  return refused;
}

std::string PostRequest(const std::string &path, const std::string &host, const std::string &user,
                        const std::string &password, const std::string &body) {
  return "POST " + path + " HTTP/1.0\r\nConnection: close\r\nHost: " + host +
         "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nAuthorization: Basic " +
         Base64Encode("admin:" + password) +
         "\r\nContent-Type: application/x-www-form-urlencoded\r\nCookie: username=" + user +
         "\r\n\r\n" + body;
}

std::string BodyOf(const std::string &reply) {
  const std::size_t end = reply.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : reply.substr(end + 4);
}

std::string StatusLineOf(const std::string &reply) {
  return reply.substr(0, reply.find("\r\n"));
}

} // namespace corvesta::test
