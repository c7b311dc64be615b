#pragma once
// The simulator: the boxes, their UDP responder and web service on one event
// loop.

#include <memory>
#include <netinet/in.h>
#include <string>
#include <string_view>
#include <vector>

#include "box_state.h"
#include "event_loop.h"
#include "request_log.h"
#include "sim_box.h"

namespace corvesta::sim {

class UdpResponder;
class WebService;

class Simulator {
public:
  Simulator(std::vector<Box> boxes, RequestLog &log);
  ~Simulator();
  Simulator(const Simulator &) = delete;
  Simulator &operator=(const Simulator &) = delete;

  // Binds every socket of every box. False, with `error`, when one fails.
  bool Start(std::string &error);
  EventLoop &Loop() { return m_loop; }
  RequestLog &Log() { return m_log; }

  std::vector<std::unique_ptr<SimBox>> &Boxes() { return m_boxes; }
  // By name or hardware-address text.
  SimBox *FindBox(std::string_view nameOrMac);
  SimBox *FindBoxByWireId(std::string_view wireId);
  // True for the address and port of one of the boxes' own UDP sockets.
  bool IsOwnEndpoint(const sockaddr_in &endpoint) const;

  // Moves a box to `newIp`: its UDP socket and web service follow. With
  // keepOldMs > 0 the web service also answers at the old address for that
  // long. Nothing changes when the address belongs to another box or cannot
  // be bound.
  bool MoveBox(SimBox &box, const std::string &newIp, int keepOldMs, std::string &error);

  // Replaces a box's stored state (control channel); rebinds when its address
  // or its refusal of connections changed.
  bool ReplaceState(SimBox &box, Box newState, std::string &error);

private:
  EventLoop m_loop;
  RequestLog &m_log;
  std::vector<std::unique_ptr<SimBox>> m_boxes;
  std::unique_ptr<UdpResponder> m_udp;
  std::unique_ptr<WebService> m_web;
};

} // namespace corvesta::sim
