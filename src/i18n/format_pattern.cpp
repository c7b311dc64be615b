#include "i18n/format_pattern.h"

#include <string>

namespace corvesta {

namespace {

std::u16string Fill(std::u16string_view pattern, std::span<const PatternValue> values) {
  std::u16string out;
  out.reserve(pattern.size() + 8 * values.size());
  std::size_t next = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    if (c != u'%' || i + 1 == pattern.size()) {
      out.push_back(c);
      continue;
    }
    const char16_t kind = pattern[i + 1];
    const bool numberWanted = kind == u'd' || kind == u'u';
    const bool textWanted = kind == u's';
    if (kind == u'%') {
      out.push_back(u'%');
      ++i;
    } else if ((numberWanted || textWanted) && next < values.size() &&
               values[next].IsText() == textWanted) {
      const PatternValue &value = values[next++];
      if (textWanted) {
        out.append(value.Text());
      } else {
        const std::string digits = std::to_string(value.Number());
        out.append(digits.begin(), digits.end());
      }
      ++i;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

} // namespace

std::u16string FormatPattern(std::u16string_view pattern, const std::vector<long long> &numbers) {
  const std::vector<PatternValue> values(numbers.begin(), numbers.end());
  return Fill(pattern, values);
}

std::u16string FormatPattern(std::u16string_view pattern,
                             std::initializer_list<long long> numbers) {
  return FormatPattern(pattern, std::vector<long long>(numbers));
}

std::u16string FillPattern(std::u16string_view pattern,
                           std::initializer_list<PatternValue> values) {
  return Fill(pattern, std::span<const PatternValue>(values.begin(), values.size()));
}

} // namespace corvesta
