#pragma once
// The wizard's messages (English, shown translated) and the caption of its
// message boxes.

#include <string_view>

#include "app/program_info.h"
#include "nas/query_kind.h"

namespace corvesta {

inline constexpr std::u16string_view kWizardCaption = kProgramTitle;
inline constexpr std::u16string_view kPageLoadFailureText = u"Page load failure.";
inline constexpr std::u16string_view kSettingFailedText = u"setting failed.";
inline constexpr std::u16string_view kPasswordErrorText = u"password error.";
inline constexpr std::u16string_view kWizardInfoFailedText = u"Get wizard information failed.";
inline constexpr std::u16string_view kSetPasswordFailedText = u"SetNASPW failed.";
inline constexpr std::u16string_view kSetWorkgroupFailedText = u"Set Workgroup information failed.";
inline constexpr std::u16string_view kErrorCaption = u"Error";

// What the frame shows when the box refuses a page's settings.
constexpr std::u16string_view SettingsFailureText(CommandIndex index) {
  return index == CommandIndex::ChangePassword ? kPasswordErrorText : kSettingFailedText;
}

} // namespace corvesta
