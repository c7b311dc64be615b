#pragma once
// Reading an IPv4 address from four number fields, as people type it, and
// the checks for the kind of address it is to be: a host address, a subnet
// mask, a gateway or a DNS server. The problems come back as English message
// patterns with their numbers, so the window translates the pattern first
// and fills the numbers in afterwards (FormatPattern).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvesta {

enum class AddressKind : int {
  None = 0, // taken as it is, only completeness is checked
  IpAddress = 1,
  SubnetMask = 2,
  Gateway = 3,
  DnsServer = 4,
};

inline constexpr int kAddressFieldCount = 4;
inline constexpr int kAddressFieldDigits = 3;
inline constexpr int kAddressFieldMaximum = 255;

// The caption of every address message box.
inline constexpr std::u16string_view kAddressErrorCaption = u"Error";
inline constexpr std::u16string_view kMissingValueText = u"Missing value in address";
inline constexpr std::u16string_view kFieldRangeText =
    u"%d is not a valid entry.  Please specify a value between 0 and 255 for this field.";
inline constexpr std::u16string_view kIpAddressRangeText =
    u"%d is not a valid entry in IP address.Please specify a value between 1 and %d for this "
    u"field.";
inline constexpr std::u16string_view kGatewayRangeText =
    u"%d is not a valid entry in GateWay IP.  Please specify a value between 1 and %d for this "
    u"field.";
inline constexpr std::u16string_view kDnsRangeText =
    u"%d is not a valid entry in DNS.  Please specify a value between 1 and %d for this field.";
inline constexpr std::u16string_view kSubnetMaskText =
    u"Please enter a valid address in SubnetMask.";

using AddressBytes = std::array<std::uint8_t, kAddressFieldCount>;
using AddressFieldTexts = std::array<std::u16string, kAddressFieldCount>;

// What is wrong with an address: an English pattern (empty when nothing is
// wrong), the numbers for its "%d" in order, and the field that needs
// correcting (0 to 3).
struct AddressProblem {
  std::u16string_view pattern;
  std::vector<long long> numbers;
  int field = 0;

  bool IsNone() const { return pattern.empty(); }
};

struct AddressReading {
  // 4 when the address is complete and valid for its kind; otherwise the
  // number of fields read before the one that stopped the reading (0 to 3),
  // or 0 when the whole address is wrong for its kind.
  int count = 0;
  AddressBytes bytes{}; // all 0 unless count is 4
  AddressProblem problem;
};

// The number a field holds: its decimal digits; nothing for an empty text or
// one with any other character.
std::optional<int> FieldNumber(std::u16string_view text);

// The check of one field: 0 to 255, otherwise the range message with the
// number.
AddressProblem CheckFieldValue(int value, int field);

// Reads the four fields from the first and checks the address for its kind.
// A field above 255 stops the reading with the range message of that field.
AddressReading ReadAddress(AddressKind kind, const AddressFieldTexts &fields);

// A mask is valid when it is not 0.0.0.0 and its one bits run unbroken from
// the top (255.255.255.255 included).
bool IsValidSubnetMask(std::uint32_t mask);

// The first field in the most significant byte.
std::uint32_t PackAddress(const AddressBytes &bytes);

// The groups of a pasted text that reads as part of an address or a whole
// one: one to four groups of one to three digits separated by single dots,
// blanks around it ignored ("192.168.1.10", "168.1", "7"). Nothing for any
// other text.
std::optional<std::vector<std::u16string>> SplitPastedAddress(std::u16string_view text);

} // namespace corvesta
