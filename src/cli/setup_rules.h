#pragma once
// The checks the set-up steps make before anything is sent: the new
// password, and the forbidden characters of a device name and workgroup.
// Each returns the English system text of the problem, or nothing.

#include <optional>
#include <string>
#include <string_view>

namespace corvesta::cli {

inline constexpr std::u16string_view kPasswordMismatchText =
    u"The password and confirmation password characters do not match.";
inline constexpr std::u16string_view kPasswordRuleText =
    u"The password has to be at least 8 characters and maximum 16 number with numerical or "
    u"alphabetical contents only.";
inline constexpr std::size_t kPasswordMinLength = 8;
inline constexpr std::size_t kPasswordMaxLength = 16;

// Mismatch first, then length and content (digits and ASCII letters only).
std::optional<std::u16string_view> CheckNewPassword(std::string_view password,
                                                    std::string_view confirmation);

// The characters a device name or workgroup must not hold, in the order
// they are looked for.
inline constexpr std::string_view kForbiddenNameCharacters = "*+=|/\\:';<>?,\"$%&[]{}#@!~()^.";

// The translated message for the first forbidden character found, looking
// for each character in order in the name and then in the workgroup.
std::optional<std::string> CheckNameAndWorkgroup(std::string_view name, std::string_view workgroup);

} // namespace corvesta::cli
