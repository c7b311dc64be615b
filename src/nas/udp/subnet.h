#pragma once
// The subnet test: a box is in an adapter's subnet when (adapter address AND
// adapter mask) equals (box address AND box mask), all as 32-bit values of
// dotted-quad texts.

#include <cstdint>
#include <optional>
#include <string_view>

#include "nas/nas_device.h"
#include "nas/udp/adapter_table.h"

namespace corvesta {

// The 32-bit value of a dotted quad ("192.168.1.10"), first octet in the
// most significant byte. Nothing for any other text.
std::optional<std::uint32_t> ParseDottedQuad(std::string_view text);

// False when any of the four texts is not a dotted quad.
bool InSameSubnet(std::string_view adapterAddress, std::string_view adapterMask,
                  std::string_view boxAddress, std::string_view boxMask);

// The box against the adapter of the table it was found through; false when
// that adapter is not in the table.
bool IsInAdapterSubnet(const NasDevice &device, const AdapterTable &table);

} // namespace corvesta
