#include "setup/password_rules.h"

#include <algorithm>

#include "i18n/translate.h"

namespace corvesta {

namespace {
bool IsAsciiLetterOrDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
} // namespace

std::optional<std::u16string> CheckNewPassword(std::u16string_view password,
                                               std::u16string_view confirmation) {
  if (password != confirmation) {
    return Translate(kPasswordMismatchText);
  }
  if (password.size() < kPasswordMinLength || password.size() > kPasswordMaxLength ||
      !std::all_of(password.begin(), password.end(), IsAsciiLetterOrDigit)) {
    return Translate(kPasswordRuleText);
  }
  return std::nullopt;
}

} // namespace corvesta
