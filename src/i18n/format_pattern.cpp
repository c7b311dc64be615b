#include "i18n/format_pattern.h"

#include <string>

namespace corvesta {

std::u16string FormatPattern(std::u16string_view pattern, const std::vector<long long> &numbers) {
  std::u16string out;
  out.reserve(pattern.size() + 8 * numbers.size());
  std::size_t next = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    if (c != u'%' || i + 1 == pattern.size()) {
      out.push_back(c);
      continue;
    }
    const char16_t kind = pattern[i + 1];
    if (kind == u'%') {
      out.push_back(u'%');
      ++i;
    } else if ((kind == u'd' || kind == u'u') && next < numbers.size()) {
      const std::string digits = std::to_string(numbers[next++]);
      out.append(digits.begin(), digits.end());
      ++i;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::u16string FormatPattern(std::u16string_view pattern,
                             std::initializer_list<long long> numbers) {
  return FormatPattern(pattern, std::vector<long long>(numbers));
}

} // namespace corvesta
