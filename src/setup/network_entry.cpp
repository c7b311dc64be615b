#include "setup/network_entry.h"

#include "platform/text_codec.h"
#include "setup/address_change_plan.h"

namespace corvesta {

std::optional<NetSettings> MakeNetSettings(const NetworkEntry &entry) {
  NetSettings settings{};
  settings.dhcp = entry.dhcp ? 1 : 0;
  const bool fits = CopyToField(settings.ip, sizeof settings.ip, entry.ip) &&
                    CopyToField(settings.netmask, sizeof settings.netmask, entry.netmask) &&
                    CopyToField(settings.gateway, sizeof settings.gateway, entry.gateway) &&
                    CopyToField(settings.dns1, sizeof settings.dns1, entry.dns1) &&
                    CopyToField(settings.dns2, sizeof settings.dns2, entry.dns2);
  if (!fits) {
    return std::nullopt;
  }
  return settings;
}

std::string HiddenAddressText(const AddressFieldTexts &fields, std::string_view boxValue,
                              HiddenBlank blank) {
  bool allBlank = true;
  for (const std::u16string &field : fields) {
    allBlank = allBlank && field.empty();
  }
  if (allBlank && blank == HiddenBlank::Empty) {
    return std::string();
  }
  const AddressReading reading = ReadAddress(AddressKind::None, fields);
  if (reading.count != kAddressFieldCount) {
    return std::string(boxValue);
  }
  return std::to_string(reading.bytes[0]) + "." + std::to_string(reading.bytes[1]) + "." +
         std::to_string(reading.bytes[2]) + "." + std::to_string(reading.bytes[3]);
}

bool NetworkGatewayNeedsQuestion(const NetworkEntry &entry) {
  if (entry.dhcp) {
    return false;
  }
  // A blank gateway is no address in the subnet: the page asks about it too.
  return entry.gateway.empty() || !GatewayInSubnet(entry.ip, entry.netmask, entry.gateway);
}

} // namespace corvesta
