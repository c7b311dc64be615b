#pragma once
// Dotted-quad IPv4 texts and colon-separated hardware addresses.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvesta::sim {

using MacAddress = std::array<std::uint8_t, 6>;

// Strict "a.b.c.d" with four decimal fields of 0..255; nothing else accepted.
// The result is in host byte order.
std::optional<std::uint32_t> ParseIpv4(std::string_view text);
std::string FormatIpv4(std::uint32_t hostOrder);

// "aa:bb:cc:dd:ee:ff", either case.
std::optional<MacAddress> ParseMac(std::string_view text);
std::string FormatMac(const MacAddress &mac);

} // namespace corvesta::sim
