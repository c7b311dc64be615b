#include "i18n/fill_texts.h"

namespace corvesta {

std::u16string FillTexts(std::u16string_view pattern,
                         const std::vector<std::u16string_view> &texts) {
  std::u16string out;
  out.reserve(pattern.size());
  auto next = texts.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    if (c != u'%' || i + 1 >= pattern.size()) {
      out.push_back(c);
      continue;
    }
    const char16_t kind = pattern[i + 1];
    if (kind == u'%') {
      out.push_back(u'%');
      ++i;
    } else if (kind == u's' && next != texts.end()) {
      out.append(*next++);
      ++i;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::u16string FillTexts(std::u16string_view pattern,
                         std::initializer_list<std::u16string_view> texts) {
  return FillTexts(pattern, std::vector<std::u16string_view>(texts));
}

} // namespace corvesta
