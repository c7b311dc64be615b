#include "simulator.h"

#include <arpa/inet.h>

#include "ipv4_text.h"
#include "udp_datagrams.h"
#include "udp_responder.h"
#include "web_service.h"

namespace corvesta::sim {

Simulator::Simulator(std::vector<Box> boxes, RequestLog &log) : m_log(log) {
  for (Box &box : boxes) {
    auto simBox = std::make_unique<SimBox>();
    simBox->state = std::move(box);
    m_boxes.push_back(std::move(simBox));
  }
  m_udp = std::make_unique<UdpResponder>(*this);
  m_web = std::make_unique<WebService>(*this);
}

Simulator::~Simulator() = default;

bool Simulator::Start(std::string &error) {
  if (!m_udp->Start(error)) {
    return false;
  }
  for (auto &box : m_boxes) {
    if (!m_udp->BindBox(*box, box->Ip(), error)) {
      return false;
    }
    if (!box->state.faults.refuseConnections && !m_web->Listen(*box, box->state.ip, error)) {
      return false;
    }
  }
  return true;
}

SimBox *Simulator::FindBox(std::string_view nameOrMac) {
  const auto mac = ParseMac(nameOrMac);
  for (auto &box : m_boxes) {
    if (box->state.name == nameOrMac || (mac && box->state.mac == *mac)) {
      return box.get();
    }
  }
  return nullptr;
}

SimBox *Simulator::FindBoxByWireId(std::string_view wireId) {
  for (auto &box : m_boxes) {
    if (WireId(box->state.mac, box->Ip()) == wireId) {
      return box.get();
    }
  }
  return nullptr;
}

bool Simulator::IsOwnEndpoint(const sockaddr_in &endpoint) const {
  if (ntohs(endpoint.sin_port) != kUdpPort) {
    return false;
  }
  const std::uint32_t ip = ntohl(endpoint.sin_addr.s_addr);
  for (const auto &box : m_boxes) {
    if (box->Ip() == ip) {
      return true;
    }
  }
  return false;
}

bool Simulator::MoveBox(SimBox &box, const std::string &newIp, int keepOldMs, std::string &error) {
  const auto ip = ParseIpv4(newIp);
  if (!ip) {
    error = "\"" + newIp + "\" is not an IPv4 address";
    return false;
  }
  if (newIp == box.state.ip) {
    return true;
  }
  for (const auto &other : m_boxes) {
    if (other.get() != &box && other->state.ip == newIp) {
      error = "the address " + newIp + " belongs to box \"" + other->state.name + "\"";
      return false;
    }
  }
  if (!m_udp->BindBox(box, *ip, error)) {
    return false;
  }
  const std::string oldIp = box.state.ip;
  if (!box.state.faults.refuseConnections) {
    if (!m_web->Listen(box, newIp, error)) {
      m_udp->BindBox(box, box.Ip(), error); // back to the old address
      return false;
    }
    m_web->StopListening(box, oldIp, keepOldMs);
  }
  box.state.ip = newIp;
  return true;
}

bool Simulator::ReplaceState(SimBox &box, Box newState, std::string &error) {
  for (const auto &other : m_boxes) {
    if (other.get() != &box &&
        (other->state.name == newState.name || other->state.mac == newState.mac)) {
      error = "another box has the name or hardware address";
      return false;
    }
  }
  const std::string newIp = newState.ip;
  const bool refuse = newState.faults.refuseConnections;
  newState.ip = box.state.ip;
  // Connections: open or close the listener first, so a failure changes nothing.
  if (refuse != box.state.faults.refuseConnections) {
    if (refuse) {
      m_web->StopListening(box, box.state.ip, 0);
    } else if (!m_web->Listen(box, box.state.ip, error)) {
      return false;
    }
  }
  box.state.faults.refuseConnections = refuse;
  if (!MoveBox(box, newIp, 0, error)) {
    return false;
  }
  newState.ip = box.state.ip;
  box.state = std::move(newState);
  return true;
}

} // namespace corvesta::sim
