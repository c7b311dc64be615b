#include "nas/udp/subnet.h"

#include "platform/text_codec.h"

namespace corvesta {

std::optional<std::uint32_t> ParseDottedQuad(std::string_view text) {
  std::uint32_t value = 0;
  std::size_t pos = 0;
  for (int octet = 0; octet < 4; ++octet) {
    if (octet > 0) {
      if (pos >= text.size() || text[pos] != '.') {
        return std::nullopt;
      }
      ++pos;
    }
    std::size_t digits = 0;
    std::uint32_t part = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 3) {
      part = part * 10 + static_cast<std::uint32_t>(text[pos] - '0');
      ++pos;
      ++digits;
    }
    if (digits == 0 || part > 255) {
      return std::nullopt;
    }
    value = (value << 8) | part;
  }
  if (pos != text.size()) {
    return std::nullopt;
  }
  return value;
}

bool InSameSubnet(std::string_view adapterAddress, std::string_view adapterMask,
                  std::string_view boxAddress, std::string_view boxMask) {
  auto address = ParseDottedQuad(adapterAddress);
  auto mask = ParseDottedQuad(adapterMask);
  auto box = ParseDottedQuad(boxAddress);
  auto boxMaskValue = ParseDottedQuad(boxMask);
  if (!address || !mask || !box || !boxMaskValue) {
    return false;
  }
  return (*address & *mask) == (*box & *boxMaskValue);
}

bool IsInAdapterSubnet(const NasDevice &device, const AdapterTable &table) {
  if (device.adapter < 0 || static_cast<std::uint32_t>(device.adapter) >= table.count) {
    return false;
  }
  const AdapterEntry &adapter = table.adapters[device.adapter];
  return InSameSubnet(FieldText(adapter.address, sizeof adapter.address),
                      FieldText(adapter.mask, sizeof adapter.mask),
                      FieldText(device.ip, sizeof device.ip),
                      FieldText(device.netmask, sizeof device.netmask));
}

} // namespace corvesta
