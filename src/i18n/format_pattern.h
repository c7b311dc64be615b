#pragma once
// Filling the numbers into a message pattern after it was translated: every
// "%d" and "%u" takes the next number in order, "%%" becomes "%". A
// placeholder without a number left stays as it is written.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace corvesta {

std::u16string FormatPattern(std::u16string_view pattern, const std::vector<long long> &numbers);
std::u16string FormatPattern(std::u16string_view pattern, std::initializer_list<long long> numbers);

} // namespace corvesta
