#include "cli/setup_rules.h"

#include "cli/text_output.h"

namespace corvesta::cli {

namespace {
bool IsAsciiLetterOrDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
} // namespace

std::optional<std::u16string_view> CheckNewPassword(std::string_view password,
                                                    std::string_view confirmation) {
  if (password != confirmation) {
    return kPasswordMismatchText;
  }
  if (password.size() < kPasswordMinLength || password.size() > kPasswordMaxLength) {
    return kPasswordRuleText;
  }
  for (char c : password) {
    if (!IsAsciiLetterOrDigit(c)) {
      return kPasswordRuleText;
    }
  }
  return std::nullopt;
}

std::optional<std::string> CheckNameAndWorkgroup(std::string_view name,
                                                 std::string_view workgroup) {
  for (char forbidden : kForbiddenNameCharacters) {
    const char16_t *what = nullptr;
    if (name.find(forbidden) != std::string_view::npos) {
      what = u"Name";
    } else if (workgroup.find(forbidden) != std::string_view::npos) {
      what = u"Workgroup";
    }
    if (what != nullptr) {
      return Fill(Tr(u"The %s must not include the following characters:%s."),
                  {Tr(what), kForbiddenNameCharacters});
    }
  }
  return std::nullopt;
}

} // namespace corvesta::cli
