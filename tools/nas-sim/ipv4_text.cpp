#include "ipv4_text.h"

#include <cstdio>

namespace corvesta::sim {

std::optional<std::uint32_t> ParseIpv4(std::string_view text) {
  std::uint32_t address = 0;
  std::size_t pos = 0;
  for (int field = 0; field < 4; ++field) {
    if (field > 0) {
      if (pos >= text.size() || text[pos] != '.') {
        return std::nullopt;
      }
      ++pos;
    }
    std::size_t digits = 0;
    unsigned value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 4) {
      value = value * 10 + static_cast<unsigned>(text[pos] - '0');
      ++pos;
      ++digits;
    }
    if (digits == 0 || digits > 3 || value > 255) {
      return std::nullopt;
    }
    address = (address << 8) | value;
  }
  if (pos != text.size()) {
    return std::nullopt;
  }
  return address;
}

std::string FormatIpv4(std::uint32_t hostOrder) {
  return std::to_string(hostOrder >> 24) + '.' + std::to_string((hostOrder >> 16) & 0xFF) + '.' +
         std::to_string((hostOrder >> 8) & 0xFF) + '.' + std::to_string(hostOrder & 0xFF);
}

namespace {
int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}
} // namespace

std::optional<MacAddress> ParseMac(std::string_view text) {
  if (text.size() != 17) {
    return std::nullopt;
  }
  MacAddress mac{};
  for (std::size_t i = 0; i < 6; ++i) {
    const int high = HexDigit(text[i * 3]);
    const int low = HexDigit(text[i * 3 + 1]);
    if (high < 0 || low < 0 || (i < 5 && text[i * 3 + 2] != ':')) {
      return std::nullopt;
    }
    mac[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return mac;
}

std::string FormatMac(const MacAddress &mac) {
  char text[18];
  std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3],
                mac[4], mac[5]);
  return text;
}

} // namespace corvesta::sim
