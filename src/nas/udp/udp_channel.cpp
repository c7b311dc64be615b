#include "nas/udp/udp_channel.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <string>

#include "nas/box_protocol.h"
#include "platform/text_codec.h"

namespace corvesta {

namespace {

bool ToAddress(const char *text, in_addr &address) {
  return inet_pton(AF_INET, text, &address) == 1;
}

sockaddr_in SocketAddress(in_addr address, std::uint16_t port) {
  sockaddr_in result{};
  result.sin_family = AF_INET;
  result.sin_addr = address;
  result.sin_port = htons(port);
  return result;
}

template <class T> bool SetOption(int fd, int level, int name, const T &value) {
  return setsockopt(fd, level, name, &value, sizeof value) == 0;
}

bool Bind(int fd, const sockaddr_in &address) {
  return bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
}

UniqueFd NewUdpSocket() {
  return UniqueFd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
}

// A receive socket on the protocol port; the room for many replies at once
// (a LAN full of boxes answering one probe) is asked for, not required.
UniqueFd NewReceiveSocket(in_addr bindAddress) {
  UniqueFd fd = NewUdpSocket();
  if (!fd) {
    return fd;
  }
  const int on = 1;
  const int room = 1 << 20;
  SetOption(fd.Get(), SOL_SOCKET, SO_RCVBUF, room);
  if (!SetOption(fd.Get(), SOL_SOCKET, SO_REUSEADDR, on) ||
      !Bind(fd.Get(), SocketAddress(bindAddress, box::kUdpPort))) {
    return UniqueFd();
  }
  return fd;
}

} // namespace

bool UdpChannel::Open(const AdapterEntry &adapter) {
  Close();
  in_addr local{};
  in_addr group{};
  if (!ToAddress(std::string(FieldText(adapter.address, sizeof adapter.address)).c_str(), local) ||
      !ToAddress(box::kGroupAddress, group)) {
    return false;
  }
  const unsigned char loopOff = 0;
  const int off = 0;

  UniqueFd send = NewUdpSocket();
  ip_mreqn outgoing{};
  outgoing.imr_address = local;
  outgoing.imr_ifindex = static_cast<int>(adapter.interfaceIndex);
  if (!send || !SetOption(send.Get(), IPPROTO_IP, IP_MULTICAST_LOOP, loopOff) ||
      !SetOption(send.Get(), IPPROTO_IP, IP_MULTICAST_IF, outgoing) ||
      !Bind(send.Get(), SocketAddress(local, 0))) {
    return false;
  }

  UniqueFd unicast = NewReceiveSocket(local);
  if (!unicast) {
    return false;
  }

  UniqueFd groupSocket = NewReceiveSocket(group);
  ip_mreqn membership{};
  membership.imr_multiaddr = group;
  membership.imr_address = local;
  membership.imr_ifindex = static_cast<int>(adapter.interfaceIndex);
  if (!groupSocket || !SetOption(groupSocket.Get(), IPPROTO_IP, IP_MULTICAST_ALL, off) ||
      !SetOption(groupSocket.Get(), IPPROTO_IP, IP_ADD_MEMBERSHIP, membership) ||
      !SetOption(groupSocket.Get(), IPPROTO_IP, IP_MULTICAST_LOOP, loopOff)) {
    return false;
  }

  m_send = std::move(send);
  m_unicast = std::move(unicast);
  m_group = std::move(groupSocket);
  return true;
}

void UdpChannel::Close() {
  m_send.Reset();
  m_unicast.Reset();
  m_group.Reset();
}

bool UdpChannel::Send(std::span<const std::uint8_t> datagram) {
  if (!m_send) {
    return false;
  }
  in_addr group{};
  ToAddress(box::kGroupAddress, group);
  sockaddr_in destination = SocketAddress(group, box::kUdpPort);
  ssize_t sent;
  do {
    sent = sendto(m_send.Get(), datagram.data(), datagram.size(), 0,
                  reinterpret_cast<const sockaddr *>(&destination), sizeof destination);
  } while (sent < 0 && errno == EINTR);
  return sent >= 0 && static_cast<std::size_t>(sent) == datagram.size();
}

namespace {
timespec ToTimespec(std::chrono::microseconds timeout) {
  if (timeout.count() < 0) {
    timeout = std::chrono::microseconds(0);
  }
  timespec limit{};
  limit.tv_sec = static_cast<time_t>(timeout.count() / 1000000);
  limit.tv_nsec = static_cast<long>((timeout.count() % 1000000) * 1000);
  return limit;
}
} // namespace

bool UdpChannel::WaitForAny(std::span<UdpChannel *const> channels,
                            std::chrono::microseconds timeout, std::vector<bool> &readable) {
  readable.assign(channels.size(), false);
  std::vector<pollfd> fds;
  fds.reserve(channels.size() * 2);
  for (const UdpChannel *channel : channels) {
    fds.push_back({channel->m_unicast.Get(), POLLIN, 0});
    fds.push_back({channel->m_group.Get(), POLLIN, 0});
  }
  const timespec limit = ToTimespec(timeout);
  if (ppoll(fds.data(), fds.size(), &limit, nullptr) <= 0) {
    return false;
  }
  for (std::size_t i = 0; i < channels.size(); ++i) {
    readable[i] = ((fds[2 * i].revents | fds[2 * i + 1].revents) & (POLLIN | POLLERR)) != 0;
  }
  return true;
}

UdpChannel::Wait UdpChannel::Receive(std::vector<std::uint8_t> &buffer, std::size_t &length,
                                     std::chrono::microseconds timeout) {
  length = 0;
  if (!m_unicast || !m_group) {
    return Wait::Failed;
  }
  pollfd fds[2] = {{m_unicast.Get(), POLLIN, 0}, {m_group.Get(), POLLIN, 0}};
  const timespec limit = ToTimespec(timeout);
  int ready = ppoll(fds, 2, &limit, nullptr);
  if (ready == 0) {
    return Wait::TimedOut;
  }
  if (ready < 0) {
    return Wait::Failed;
  }
  // Both may be readable: take turns so that neither kind of reply waits
  // behind a stream of the other.
  int first = m_groupFirst ? 1 : 0;
  m_groupFirst = !m_groupFirst;
  for (int n = 0; n < 2; ++n) {
    const pollfd &fd = fds[(first + n) % 2];
    if ((fd.revents & (POLLIN | POLLERR)) == 0) {
      continue;
    }
    ssize_t got = recv(fd.fd, buffer.data(), buffer.size(), MSG_DONTWAIT);
    if (got >= 0) {
      length = static_cast<std::size_t>(got);
      return Wait::Datagram;
    }
  }
  return Wait::Failed;
}

} // namespace corvesta
