#pragma once
// The rule for a new password, checked before anything is sent: typed the
// same twice, 8 to 16 characters, digits and ASCII letters only.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace corvesta {

inline constexpr std::u16string_view kPasswordMismatchText =
    u"The password and confirmation password characters do not match.";
inline constexpr std::u16string_view kPasswordRuleText =
    u"The password has to be at least 8 characters and maximum 16 number with numerical or "
    u"alphabetical contents only.";
inline constexpr std::size_t kPasswordMinLength = 8;
inline constexpr std::size_t kPasswordMaxLength = 16;

// The translated message of the problem, or nothing. A mismatch is reported
// before the length and content; upper and lower case differ.
std::optional<std::u16string> CheckNewPassword(std::u16string_view password,
                                               std::u16string_view confirmation);

} // namespace corvesta
