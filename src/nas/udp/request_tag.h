#pragma once
// The request tag: ten bytes carried by every datagram, six random bytes and
// four zero bytes. Every reply that is accepted echoes the first six. Each
// discovery draws a new one; the credential check and the address change use
// the tag of the latest discovery.

#include <array>
#include <cstddef>
#include <cstdint>

namespace corvesta {

inline constexpr std::size_t kRequestTagSize = 10;
inline constexpr std::size_t kRequestTagRandomBytes = 6;

struct RequestTag {
  std::array<std::uint8_t, kRequestTagSize> bytes{};
  bool operator==(const RequestTag &) const = default;
};

// Six bytes from the system's random source, then four zero bytes.
RequestTag NewRequestTag();

RequestTag CurrentRequestTag();
void SetCurrentRequestTag(const RequestTag &tag);

} // namespace corvesta
