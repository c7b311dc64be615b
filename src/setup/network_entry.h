#pragma once
// What the wizard's network page sends: the LAN settings record built from
// the texts the person confirmed, and when the gateway question is asked.

#include <optional>
#include <string>
#include <string_view>

#include "nas/http/request_records.h"
#include "setup/address_entry.h"

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

// What a blank field stands for when the page reads it hidden.
enum class HiddenBlank {
  BoxValue, // the box's current value (its address and mask are never empty)
  Empty,    // nothing (a DNS server left out)
};

// A field the person cannot see (DHCP mode hides them all), read without a
// word: a complete address is its "%u.%u.%u.%u" text; a half-typed one, or
// one with a number out of range, is the box's current value `boxValue`, as
// the box's values were read when the page was shown; a blank one is as
// `blank` says. Never half an address, never a message about a field
// nobody can see.
std::string HiddenAddressText(const AddressFieldTexts &fields, std::string_view boxValue,
                              HiddenBlank blank);

// A static address whose gateway is blank or outside the subnet of the
// address and mask needs the person's Yes before it is sent; DHCP never asks.
bool NetworkGatewayNeedsQuestion(const NetworkEntry &entry);

} // namespace corvesta
