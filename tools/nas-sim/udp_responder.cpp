#include "udp_responder.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ipv4_text.h"
#include "simulator.h"
#include "socket_util.h"
#include "udp_datagrams.h"

namespace corvesta::sim {

namespace {
constexpr std::size_t kMaxDatagram = 65536;

std::uint32_t GroupIp() {
  return *ParseIpv4(kGroupAddress);
}

void Warn(const SimBox *box, const std::string &text) {
  std::fprintf(stderr, "nas-sim: %s%s\n", box ? ("box \"" + box->state.name + "\": ").c_str() : "",
               text.c_str());
}
} // namespace

std::string EchoTag(std::string_view datagram, bool stale) {
  std::string tag(datagram.substr(kTagOffset, kTagSize));
  tag.resize(kTagSize, '\0');
  if (stale) {
    // An earlier discovery's tag: every echoed byte differs.
    for (std::size_t i = 0; i < 6; ++i) {
      tag[i] = static_cast<char>(static_cast<unsigned char>(tag[i]) ^ 0x5A);
    }
  }
  return tag;
}

bool UdpResponder::Start(std::string &error) {
  m_group = OpenUdpSocket(GroupIp(), kUdpPort, error);
  if (!m_group.Valid()) {
    return false;
  }
  // Only the group joined on this socket, not every group of the host.
  const int off = 0;
  ::setsockopt(m_group.Get(), IPPROTO_IP, IP_MULTICAST_ALL, &off, sizeof off);
  const int fd = m_group.Get();
  m_simulator.Loop().Watch(fd, POLLIN, [this, fd](short) {
    OnReadable(fd, nullptr, std::string(kGroupAddress) + ":" + std::to_string(kUdpPort));
  });
  return true;
}

void UdpResponder::JoinGroupAt(std::uint32_t ip) {
  ip_mreqn request{};
  request.imr_multiaddr.s_addr = htonl(GroupIp());
  request.imr_address.s_addr = htonl(ip);
  // Joining the same interface twice reports EADDRINUSE, which is fine.
  if (::setsockopt(m_group.Get(), IPPROTO_IP, IP_ADD_MEMBERSHIP, &request, sizeof request) != 0 &&
      errno != EADDRINUSE) {
    Warn(nullptr, "cannot join " + std::string(kGroupAddress) + " at " + FormatIpv4(ip) + ": " +
                      std::strerror(errno));
  }
}

bool UdpResponder::BindBox(SimBox &box, std::uint32_t ip, std::string &error) {
  UniqueFd fd = OpenUdpSocket(ip, kUdpPort, error);
  if (!fd.Valid()) {
    return false;
  }
  const in_addr interfaceAddress{htonl(ip)};
  ::setsockopt(fd.Get(), IPPROTO_IP, IP_MULTICAST_IF, &interfaceAddress, sizeof interfaceAddress);
  const unsigned char loop = 1;
  ::setsockopt(fd.Get(), IPPROTO_IP, IP_MULTICAST_LOOP, &loop, sizeof loop);
  JoinGroupAt(ip);
  if (box.udpSocket.Valid()) {
    m_simulator.Loop().Unwatch(box.udpSocket.Get());
  }
  box.udpSocket = std::move(fd);
  const int raw = box.udpSocket.Get();
  SimBox *target = &box;
  const std::string local = FormatIpv4(ip) + ":" + std::to_string(kUdpPort);
  m_simulator.Loop().Watch(raw, POLLIN,
                           [this, raw, target, local](short) { OnReadable(raw, target, local); });
  return true;
}

void UdpResponder::OnReadable(int fd, SimBox *box, const std::string &local) {
  std::string buffer(kMaxDatagram, '\0');
  // Read what is queued now, a bounded number of datagrams per wake-up.
  for (int i = 0; i < 64; ++i) {
    sockaddr_in sender{};
    socklen_t senderSize = sizeof sender;
    const ssize_t received = ::recvfrom(fd, buffer.data(), buffer.size(), 0,
                                        reinterpret_cast<sockaddr *>(&sender), &senderSize);
    if (received < 0) {
      return; // EAGAIN: nothing more
    }
    if (m_simulator.IsOwnEndpoint(sender)) {
      continue; // a box's own reply heard on the group
    }
    Handle(std::string_view(buffer.data(), static_cast<std::size_t>(received)), sender, box, local);
  }
}

void UdpResponder::Handle(std::string_view datagram, const sockaddr_in &sender, SimBox *box,
                          const std::string &local) {
  const std::string peer = EndpointText(sender);
  const auto type = datagram.empty() ? 0 : static_cast<unsigned char>(datagram[0]);
  SimBox *addressed = box;
  if (addressed == nullptr && (type == kCredCheckType || type == kSetAddressType) &&
      datagram.size() >= kWireIdOffset + kWireIdSize) {
    addressed = m_simulator.FindBoxByWireId(datagram.substr(kWireIdOffset, kWireIdSize));
  }
  m_simulator.Log().Write(addressed ? addressed->state.name : "*", "udp", peer, local, datagram);

  if (datagram.size() < kProbeSize) {
    return; // too short to carry a tag: nothing a box answers
  }
  switch (type) {
  case kProbeType:
    if (box != nullptr) {
      Probe(datagram, sender, *box);
    } else {
      for (auto &each : m_simulator.Boxes()) {
        Probe(datagram, sender, *each);
      }
    }
    break;
  case kCredCheckType:
  case kSetAddressType: {
    if (addressed == nullptr || (box != nullptr && addressed != box)) {
      return; // another box's wire id
    }
    if (box != nullptr && datagram.size() >= kWireIdOffset + kWireIdSize &&
        datagram.substr(kWireIdOffset, kWireIdSize) != WireId(box->state.mac, box->Ip())) {
      return;
    }
    if (type == kCredCheckType) {
      CredCheck(datagram, sender, *addressed);
    } else {
      SetAddress(datagram, sender, *addressed);
    }
    break;
  }
  default:
    break; // replies of other boxes, and anything unknown
  }
}

void UdpResponder::Probe(std::string_view datagram, const sockaddr_in &sender, SimBox &box) {
  const UdpFault fault = UdpFaultFor(box.state.faults, "probe");
  if (fault.silent) {
    return;
  }
  Reply(box, BuildProbeReply(EchoTag(datagram, fault.staleTag), box.Identity(), fault.wrongModel),
        fault, sender);
}

void UdpResponder::CredCheck(std::string_view datagram, const sockaddr_in &sender, SimBox &box) {
  std::string error;
  const auto credentials = ParseCredCheck(datagram, error);
  if (!credentials) {
    Warn(&box, "ignored a " + error);
    return;
  }
  const UdpFault fault = UdpFaultFor(box.state.faults, "cred_check");
  if (fault.silent) {
    return;
  }
  bool accepted = false;
  for (const auto &split : credentials->splits) {
    const Account *account = box.state.FindAccount(split.user);
    accepted = accepted || (account != nullptr && account->password == split.password);
  }
  accepted = accepted && !box.state.faults.refuseCredentials;
  Reply(box, BuildCredReply(EchoTag(datagram, fault.staleTag), box.Identity(), accepted), fault,
        sender);
}

void UdpResponder::SetAddress(std::string_view datagram, const sockaddr_in &sender, SimBox &box) {
  std::string error;
  const auto address = ParseSetAddress(datagram, error);
  if (!address) {
    Warn(&box, "ignored an " + error);
    return;
  }
  const UdpFault fault = UdpFaultFor(box.state.faults, "set_address");
  if (fault.silent) {
    return;
  }
  // A box on DHCP takes the address its DHCP server gives, when there is one.
  const std::string newIp =
      address->dhcp && !box.state.dhcpLeaseIp.empty() ? box.state.dhcpLeaseIp : address->ip;
  for (const auto &other : m_simulator.Boxes()) {
    if (other.get() != &box && other->state.ip == newIp) {
      Warn(&box,
           "refused the address " + newIp + ", which belongs to box \"" + other->state.name + "\"");
      return;
    }
  }
  SimBox *target = &box;
  NewAddress settings = *address;
  auto take = [this, target, settings, newIp] {
    std::string moveError;
    if (!m_simulator.MoveBox(*target, newIp, 0, moveError)) {
      target->lastError = "address change: " + moveError;
      Warn(target, "could not take the new address: " + moveError);
      return;
    }
    target->state.netmask = settings.netmask;
    target->state.gateway = settings.gateway;
    target->state.dhcp = settings.dhcp;
  };
  if (box.state.faults.noAddressAck) {
    take();
    return;
  }
  Reply(box, BuildSetAddressReply(EchoTag(datagram, fault.staleTag), box.Identity()), fault, sender,
        take);
}

void UdpResponder::Reply(SimBox &box, std::string datagram, const UdpFault &fault,
                         const sockaddr_in &sender, std::function<void()> after) {
  if (fault.delayMs <= 0) {
    SendNow(box, datagram, fault.unicast, sender);
    if (after) {
      after();
    }
    return;
  }
  SimBox *target = &box;
  const bool unicast = fault.unicast;
  m_simulator.Loop().After(
      std::chrono::milliseconds(fault.delayMs),
      [this, target, datagram = std::move(datagram), unicast, sender, after = std::move(after)] {
        SendNow(*target, datagram, unicast, sender);
        if (after) {
          after();
        }
      });
}

void UdpResponder::SendNow(SimBox &box, const std::string &datagram, bool unicast,
                           const sockaddr_in &sender) {
  const sockaddr_in destination = unicast ? MakeEndpoint(ntohl(sender.sin_addr.s_addr), kUdpPort)
                                          : MakeEndpoint(GroupIp(), kUdpPort);
  if (::sendto(box.udpSocket.Get(), datagram.data(), datagram.size(), 0,
               reinterpret_cast<const sockaddr *>(&destination), sizeof destination) < 0) {
    Warn(&box, "cannot send to " + EndpointText(destination) + ": " + std::strerror(errno));
  }
}

} // namespace corvesta::sim
