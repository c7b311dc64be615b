#include "setup/address_entry.h"

namespace corvesta {
namespace {

constexpr int kFirstByteMaximum = 223;
constexpr int kLastByteMaximum = 254;

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

std::u16string_view RangePattern(AddressKind kind) {
  switch (kind) {
  case AddressKind::Gateway:
    return kGatewayRangeText;
  case AddressKind::DnsServer:
    return kDnsRangeText;
  default:
    return kIpAddressRangeText;
  }
}

} // namespace

std::optional<int> FieldNumber(std::u16string_view text) {
  if (text.empty() || text.size() > static_cast<std::size_t>(kAddressFieldDigits)) {
    return std::nullopt;
  }
  int value = 0;
  for (char16_t c : text) {
    if (!IsDigit(c)) {
      return std::nullopt;
    }
    value = value * 10 + (c - u'0');
  }
  return value;
}

AddressProblem CheckFieldValue(int value, int field) {
  if (value >= 0 && value <= kAddressFieldMaximum) {
    return {};
  }
  return {kFieldRangeText, {value}, field};
}

AddressReading ReadAddress(AddressKind kind, const AddressFieldTexts &fields) {
  AddressReading reading;
  AddressBytes bytes{};
  for (int i = 0; i < kAddressFieldCount; ++i) {
    const std::optional<int> value = FieldNumber(fields[static_cast<std::size_t>(i)]);
    if (!value) {
      reading.count = i;
      reading.problem = {kMissingValueText, {}, i};
      return reading;
    }
    if (AddressProblem problem = CheckFieldValue(*value, i); !problem.IsNone()) {
      reading.count = i;
      reading.problem = std::move(problem);
      return reading;
    }
    bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(*value);
  }

  switch (kind) {
  case AddressKind::IpAddress:
  case AddressKind::Gateway:
  case AddressKind::DnsServer: {
    const int first = bytes[0];
    const int last = bytes[3];
    if (first < 1 || first > kFirstByteMaximum) {
      reading.problem = {RangePattern(kind), {first, kFirstByteMaximum}, 0};
      return reading;
    }
    if (last < 1 || last > kLastByteMaximum) {
      reading.problem = {RangePattern(kind), {last, kLastByteMaximum}, 3};
      return reading;
    }
    break;
  }
  case AddressKind::SubnetMask:
    if (!IsValidSubnetMask(PackAddress(bytes))) {
      reading.problem = {kSubnetMaskText, {}, 0};
      return reading;
    }
    break;
  case AddressKind::None:
    break;
  }
  reading.count = kAddressFieldCount;
  reading.bytes = bytes;
  return reading;
}

bool IsValidSubnetMask(std::uint32_t mask) {
  if (mask == 0) {
    return false;
  }
  // Contiguous ones from the top: the two's complement is a power of two.
  const std::uint32_t lowest = ~mask + 1u;
  return (lowest & (lowest - 1u)) == 0;
}

std::uint32_t PackAddress(const AddressBytes &bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
         (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

std::optional<std::vector<std::u16string>> SplitPastedAddress(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  std::vector<std::u16string> groups;
  std::u16string group;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == u'.') {
      if (group.empty() || groups.size() == static_cast<std::size_t>(kAddressFieldCount)) {
        return std::nullopt;
      }
      groups.push_back(std::move(group));
      group.clear();
      continue;
    }
    if (!IsDigit(text[i]) || group.size() == static_cast<std::size_t>(kAddressFieldDigits)) {
      return std::nullopt;
    }
    group.push_back(text[i]);
  }
  return groups;
}

} // namespace corvesta
