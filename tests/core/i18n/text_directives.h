#pragma once
// What a translation must keep of its key so that the program can format and
// show it: its formatting directives and its "&&" pairs.

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace corvesta::test {

// The formatting directives of a text, in order: "%%", or "%" with flags,
// width, precision and length up to the conversion letter.
inline std::vector<std::u16string> Directives(std::u16string_view text) {
  std::vector<std::u16string> found;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'%') {
      continue;
    }
    std::size_t end = i + 1;
    while (end < text.size() && std::u16string_view(u"-+ #0123456789.lhzjt").find(text[end]) !=
                                    std::u16string_view::npos) {
      ++end;
    }
    found.emplace_back(text.substr(i, std::min(end + 1, text.size()) - i));
    i = end;
  }
  return found;
}

inline std::size_t Count(std::u16string_view text, std::u16string_view what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::u16string_view::npos;
       at = text.find(what, at + what.size())) {
    ++count;
  }
  return count;
}

} // namespace corvesta::test
