#pragma once
// One box found by discovery. Texts are zero-terminated within their fields.

#include <cstdint>

namespace corvesta {

inline constexpr std::size_t kWireIdSize = 10;
// Where the IPv4 address starts in the wire id, first octet first.
inline constexpr std::size_t kWireIdAddressOffset = 6;

struct NasDevice {
  char name[256] = {};                    // the box's name
  char ip[16] = {};                       // "%d.%d.%d.%d"
  char netmask[16] = {};                  // as sent by the box
  char gateway[16] = {};                  // as sent by the box
  char dhcp[8] = {};                      // one character, "1" when the box uses DHCP
  std::uint8_t wire_id[kWireIdSize] = {}; // hardware address, then IPv4 address, as received
  char extra_text[32] = {};               // the probe reply's free text
  char mac[20] = {};                      // "%02x:%02x:%02x:%02x:%02x:%02x", the box's identity
  std::int32_t adapter = 0; // index in the adapter table of the adapter that reaches the box
  // 1 when probe replies with this hardware address came from more than one
  // IPv4 address: some device claims to be this box, and credentials must
  // not go to it until the person names it by its address. `other_ip` holds
  // the latest other address heard.
  std::uint8_t ambiguous = 0;
  char other_ip[16] = {};
};

} // namespace corvesta
