#pragma once
// What the wizard's network page sends: the LAN settings record built from
// the texts the person confirmed, and when the gateway question is asked.

#include <optional>
#include <string>
#include <string_view>

#include "nas/http/request_records.h"

namespace corvesta {

// The texts of the page's fields, each "%u.%u.%u.%u" or empty when the
// field was not read.
struct NetworkEntry {
  bool dhcp = false;
  std::string ip;
  std::string netmask;
  std::string gateway;
  std::string dns1;
  std::string dns2;
};

// The record sent, zero-filled, every text within its field. Nothing when a
// text does not fit its field (it never does for an address text).
std::optional<NetSettings> MakeNetSettings(const NetworkEntry &entry);

// A static address whose gateway is blank or outside the subnet of the
// address and mask needs the person's Yes before it is sent; DHCP never asks.
bool NetworkGatewayNeedsQuestion(const NetworkEntry &entry);

} // namespace corvesta
