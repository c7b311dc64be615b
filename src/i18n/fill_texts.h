#pragma once
// Filling texts into a message pattern after it was translated: every "%s"
// takes the next text in order, "%%" becomes "%". A "%s" without a text left
// stays as it is written; other placeholders are left alone.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace corvesta {

std::u16string FillTexts(std::u16string_view pattern,
                         const std::vector<std::u16string_view> &texts);
std::u16string FillTexts(std::u16string_view pattern,
                         std::initializer_list<std::u16string_view> texts);

} // namespace corvesta
