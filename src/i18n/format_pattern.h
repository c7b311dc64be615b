#pragma once
// Filling values into a message pattern after it was translated: every "%d"
// and "%u" takes the next value when it is a number, every "%s" the next
// value when it is a text, and "%%" becomes "%". A placeholder whose next
// value is of the other kind, or that has no value left, stays as it is
// written and takes nothing. The filled-in texts are not looked at again.

#include <concepts>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvesta {

// One value for a placeholder: a number or a text (not owned: it must
// outlive the call).
class PatternValue {
public:
  template <std::integral T> PatternValue(T number) : number_(static_cast<long long>(number)) {}
  PatternValue(std::u16string_view text) : text_(text), isText_(true) {}
  PatternValue(const char16_t *text) : text_(text), isText_(true) {}
  PatternValue(const std::u16string &text) : text_(text), isText_(true) {}

  bool IsText() const { return isText_; }
  long long Number() const { return number_; }
  std::u16string_view Text() const { return text_; }

private:
  long long number_ = 0;
  std::u16string_view text_;
  bool isText_ = false;
};

// Numbers only.
std::u16string FormatPattern(std::u16string_view pattern, const std::vector<long long> &numbers);
std::u16string FormatPattern(std::u16string_view pattern, std::initializer_list<long long> numbers);

// Numbers and texts.
std::u16string FillPattern(std::u16string_view pattern, std::initializer_list<PatternValue> values);

} // namespace corvesta
