#pragma once
// The boxes' UDP service on port 13579: one socket on the group 224.0.0.1
// for the whole simulator and one socket per box on the box's own address.

#include <netinet/in.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "faults.h"
#include "sim_box.h"
#include "unique_fd.h"

namespace corvesta::sim {

class Simulator;

class UdpResponder {
public:
  explicit UdpResponder(Simulator &simulator) : m_simulator(simulator) {}

  // Opens the group socket.
  bool Start(std::string &error);
  // (Re)binds a box's own socket to `ip` and joins the group there. On
  // failure the box keeps its previous socket.
  bool BindBox(SimBox &box, std::uint32_t ip, std::string &error);

private:
  void OnReadable(int fd, SimBox *box, const std::string &local);
  void Handle(std::string_view datagram, const sockaddr_in &sender, SimBox *box,
              const std::string &local);
  void Probe(std::string_view datagram, const sockaddr_in &sender, SimBox &box);
  void CredCheck(std::string_view datagram, const sockaddr_in &sender, SimBox &box);
  void SetAddress(std::string_view datagram, const sockaddr_in &sender, SimBox &box);
  // Sends now or after the fault's delay; `after` runs once the reply is out
  // (or would have been).
  void Reply(SimBox &box, std::string datagram, const UdpFault &fault, const sockaddr_in &sender,
             std::function<void()> after = {});
  void SendNow(SimBox &box, const std::string &datagram, bool unicast, const sockaddr_in &sender);
  void JoinGroupAt(std::uint32_t ip);

  Simulator &m_simulator;
  UniqueFd m_group;
};

// The ten tag bytes a reply echoes: the request's, or changed ones for the
// stale-tag fault.
std::string EchoTag(std::string_view datagram, bool stale);

} // namespace corvesta::sim
