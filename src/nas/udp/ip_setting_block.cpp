#include "nas/udp/ip_setting_block.h"

#include <cstring>

#include "nas/box_protocol.h"
#include "platform/text_codec.h"

namespace corvesta {

IpSettingBlock MakeIpSettingBlock(std::string_view ip, std::string_view netmask,
                                  std::string_view gateway, bool dhcp) {
  IpSettingBlock block;
  std::memset(&block, 0, sizeof block);
  CopyToField(block.interfaceName, sizeof block.interfaceName, box::kLanInterfaceName);
  CopyToField(block.ip, sizeof block.ip, ip);
  CopyToField(block.netmask, sizeof block.netmask, netmask);
  CopyToField(block.gateway, sizeof block.gateway, gateway);
  block.dhcp = dhcp ? '1' : '0';
  return block;
}

} // namespace corvesta
