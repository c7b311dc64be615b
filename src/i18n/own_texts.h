#pragma once
// The program's own texts: messages this program shows beyond those of the
// built-in tables, with their translations in every interface language.
// Translate looks here only after the language's built-in table, so the
// built-in tables stay as they are.

#include <optional>
#include <span>
#include <string_view>

#include "i18n/language_base.h"

namespace corvesta {

// One own text: the English key and its four translations.
struct OwnText {
  std::u16string_view english;
  std::u16string_view french;
  std::u16string_view german;
  std::u16string_view spanish;
  std::u16string_view russian;
};

// The disk mode needs two disks and the box has one.
inline constexpr std::u16string_view kTwoDrivesNeededText =
    u"This disk mode requires two drives; the NAS has one.";
// The two device names do not fit the disks field of the format request.
inline constexpr std::u16string_view kDiskNamesTooLongText =
    u"The disks' device names are too long for the format request.";
// A volume of the mode would have no size.
inline constexpr std::u16string_view kDisksTooSmallText =
    u"The disks are too small for this disk mode.";
// The name, workgroup or description does not fit its field.
inline constexpr std::u16string_view kIdentityTooLongText =
    u"The name and the workgroup may hold at most 15 bytes, the description 30.";
// The user name or password does not fit the current credentials.
inline constexpr std::u16string_view kCredentialsTooLongText =
    u"The user name and the password may hold at most 16 bytes each.";
// The format-state polling ended without the box reporting an end.
inline constexpr std::u16string_view kFormatStateLostText =
    u"The NAS stopped reporting the state of the formatting.";
// The title of the login dialog.
inline constexpr std::u16string_view kLoginTitleText = u"Login";

// The box took new LAN settings and now answers outside this PC's subnet;
// "%s" is the address it answers at.
inline constexpr std::u16string_view kBoxLeftSubnetText =
    u"The NAS now answers at %s, outside the subnet of this PC. Give it an address in this "
    u"subnet from the main window.";

// Every own text, in no particular order.
std::span<const OwnText> OwnTexts();

// The translation of `english` in the language when it is an own text, else
// nothing. English returns the key itself.
std::optional<std::u16string_view> FindOwnText(LanguageId language, std::u16string_view english);

} // namespace corvesta
