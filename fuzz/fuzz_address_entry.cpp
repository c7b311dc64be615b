// The address reader over any typed or pasted text. The first byte picks
// the kind of address; the rest, read as UTF-16 (two bytes a character),
// is split at '|' into the four fields and also offered whole as a paste.
// A complete address must hold exactly the numbers typed, an incomplete one
// none, and every message must have a number for each of its "%d".
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "i18n/format_pattern.h"
#include "setup/address_entry.h"

using namespace corvesta;

namespace {

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

std::size_t CountNumberSlots(std::u16string_view pattern) {
  std::size_t slots = 0;
  for (std::size_t at = pattern.find(u"%d"); at != std::u16string_view::npos;
       at = pattern.find(u"%d", at + 2)) {
    ++slots;
  }
  return slots;
}

bool IsDigits(std::u16string_view text) {
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') {
      return false;
    }
  }
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const auto kind = static_cast<AddressKind>(data[0] % 5);
  std::u16string text;
  for (std::size_t at = 1; at + 1 < size; at += 2) {
    text.push_back(static_cast<char16_t>(data[at] | (data[at + 1] << 8)));
  }

  AddressFieldTexts fields;
  std::size_t field = 0;
  for (const char16_t c : text) {
    if (c == u'|' && field + 1 < fields.size()) {
      ++field;
    } else {
      fields[field].push_back(c);
    }
  }

  const AddressReading reading = ReadAddress(kind, fields);
  Check(reading.count >= 0 && reading.count <= kAddressFieldCount);
  Check(reading.problem.field >= 0 && reading.problem.field < kAddressFieldCount);
  Check(CountNumberSlots(reading.problem.pattern) == reading.problem.numbers.size());
  if (reading.count == kAddressFieldCount) {
    Check(reading.problem.IsNone());
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const std::optional<int> number = FieldNumber(fields[i]);
      Check(number && *number == reading.bytes[i]);
    }
  } else {
    Check(!reading.problem.IsNone());
    Check(reading.bytes == AddressBytes{});
    (void)FormatPattern(reading.problem.pattern, reading.problem.numbers);
  }
  if (kind == AddressKind::SubnetMask && reading.count == kAddressFieldCount) {
    Check(IsValidSubnetMask(PackAddress(reading.bytes)));
  }

  if (const auto groups = SplitPastedAddress(text)) {
    Check(!groups->empty() && groups->size() <= kAddressFieldCount);
    for (const std::u16string &group : *groups) {
      Check(!group.empty() && group.size() <= kAddressFieldDigits && IsDigits(group));
    }
  }
  return 0;
}
