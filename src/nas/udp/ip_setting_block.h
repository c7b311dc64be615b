#pragma once
// The new address settings of an address change, carried whole (120 bytes)
// in the datagram.

#include <string_view>

namespace corvesta {

struct IpSettingBlock {
  char interfaceName[10]; // "LAN1", zero-padded
  char ip[16];            // "%d.%d.%d.%d", zero-padded
  char netmask[16];       // zero-padded
  char gateway[16];       // zero-padded; all zero when there is no gateway
  char dhcp;              // '1' DHCP, '0' static address
  char reserved[61];      // zero
};
static_assert(sizeof(IpSettingBlock) == 120, "the block travels byte for byte");

// A block for interface "LAN1". Each text is cut to fit its field; an empty
// gateway leaves the field all zero. The texts are carried also with DHCP.
IpSettingBlock MakeIpSettingBlock(std::string_view ip, std::string_view netmask,
                                  std::string_view gateway, bool dhcp);

} // namespace corvesta
