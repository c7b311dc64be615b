#pragma once
// One simulated box at run time: its stored state, the state of its running
// operations, and its sockets.

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "box_state.h"
#include "event_loop.h"
#include "format_chain.h"
#include "udp_datagrams.h"
#include "unique_fd.h"

namespace corvesta::sim {

struct WebListener {
  std::string address;
  UniqueFd fd;
  EventLoop::TimerId expiry = 0; // an old address that answers for a while only
};

struct SimBox {
  Box state;
  FormatChain format;
  bool addressLocked = false;     // cgi_setip_lock seen, cgi_ip not yet
  Clock::time_point lanReadyAt{}; // before this, cgi_get_lan_xml2 reports 0.0.0.0 (DHCP wait)
  UniqueFd udpSocket;             // bound to the box's address, port 13579
  std::vector<WebListener> listeners;
  std::string lastError; // the last thing the box could not do, for the control channel

  BoxIdentity Identity() const;
  std::uint32_t Ip() const; // host order; the state holds a checked address
};

nlohmann::json BoxWithRuntimeToJson(const SimBox &box);

} // namespace corvesta::sim
