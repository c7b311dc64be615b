#pragma once
// The time zones a box can be given, in the box's numbering: the value sent
// (and read back) is the 1-based position in this list.

#include <array>
#include <optional>
#include <string_view>

namespace corvesta {

struct TimeZoneEntry {
  std::string_view offset;      // shown as it is
  std::u16string_view location; // shown translated
};

inline constexpr std::size_t kTimeZoneCount = 96;
extern const std::array<TimeZoneEntry, kTimeZoneCount> kTimeZones;

// The entry for the box's value 1 to 96; nothing for any other value.
std::optional<TimeZoneEntry> TimeZoneForValue(int value);

} // namespace corvesta
