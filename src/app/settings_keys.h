#pragma once
// Every section and key of the settings file, and the defaults the program
// uses when a key is missing or empty.

#include <cstdint>
#include <string_view>

namespace corvesta::settings {

inline constexpr std::string_view kFolderName = "Utility";
inline constexpr std::string_view kFileName = "Utility.ini";

// Interface language code ("FRE", "GER", "SPA", "RUS"; anything else: English).
inline constexpr std::u16string_view kSectionLanguage = u"Language";
inline constexpr std::u16string_view kKeyLanguage = u"Language";

inline constexpr std::u16string_view kSectionCurrent = u"Current";
// Idle-logout time in milliseconds, written with "%u:".
inline constexpr std::u16string_view kKeyLoginOutTime = u"LoginOutTime";
// Name of the box connected to last; also names that box's section.
inline constexpr std::u16string_view kKeyServName = u"ServName";

// In the section named after a box.
inline constexpr std::u16string_view kKeyUserName = u"UserName";
// Base64 of the password's bytes.
inline constexpr std::u16string_view kKeyPassWord = u"PassWord";

inline constexpr std::u16string_view kSectionUsed = u"Used";
inline constexpr std::u16string_view kKeyFirstOpen = u"FirstOpen";
inline constexpr std::u16string_view kFirstOpenDone = u"FALSE";

inline constexpr std::uint32_t kDefaultLoginOutTimeMs = 3600000;

// A value read is at most this many UTF-16 units long.
inline constexpr std::size_t kMaxValueLength = 1023;

} // namespace corvesta::settings
