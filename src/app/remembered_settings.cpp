#include "app/remembered_settings.h"

#include <array>
#include <limits>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "i18n/format_pattern.h"
#include "platform/base64.h"
#include "platform/text_codec.h"

namespace corvesta {

namespace {

constexpr std::uint32_t kMinuteMs = 60000;
// The idle times the settings offer, in minutes; any other stored number of
// minutes reads as the default.
constexpr std::array<std::uint32_t, 4> kIdleMinutes{0, 5, 15, 30};
constexpr std::u16string_view kIdleTimePattern = u"%u:";

std::optional<std::u16string> ReadValue(std::u16string_view section, std::u16string_view key) {
  std::u16string value;
  if (!settings::Read(section, key, value)) {
    return std::nullopt;
  }
  return value;
}

bool IsUtf8Text(const std::string &bytes) {
  return Utf16ToUtf8(Utf8ToUtf16(bytes)) == bytes && bytes.find('\0') == std::string::npos;
}

// The leading decimal number of a text; 0 without leading digits. Numbers
// too large for 32 bits stay at the largest value.
std::uint32_t LeadingNumber(std::u16string_view text) {
  std::uint64_t number = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') {
      break;
    }
    number = number * 10 + static_cast<std::uint64_t>(c - u'0');
    if (number > std::numeric_limits<std::uint32_t>::max()) {
      return std::numeric_limits<std::uint32_t>::max();
    }
  }
  return static_cast<std::uint32_t>(number);
}

} // namespace

StoredLogin RememberedLogin(std::string_view box) {
  StoredLogin login;
  if (box.empty()) {
    return login;
  }
  const std::u16string section = Utf8ToUtf16(box);
  if (auto user = ReadValue(section, settings::kKeyUserName)) {
    login.user = Utf16ToUtf8(*user);
  }
  if (auto encoded = ReadValue(section, settings::kKeyPassWord)) {
    auto bytes = Base64Decode(Utf16ToUtf8(*encoded));
    if (bytes && IsUtf8Text(*bytes)) {
      login.password = std::move(*bytes);
    }
  }
  return login;
}

bool StoreLogin(std::string_view box, std::string_view user, std::string_view password) {
  if (box.empty()) {
    return false;
  }
  // Both keys in one write: a user name never stands beside another
  // user's password.
  const std::u16string section = Utf8ToUtf16(box);
  const std::u16string userText = Utf8ToUtf16(user);
  const std::u16string passwordText = Utf8ToUtf16(Base64Encode(password));
  return settings::Write({{section, settings::kKeyUserName, userText},
                          {section, settings::kKeyPassWord, passwordText}});
}

bool ForgetLogin(std::string_view box) {
  if (box.empty()) {
    return false;
  }
  const std::u16string section = Utf8ToUtf16(box);
  return settings::Write(
      {{section, settings::kKeyUserName, {}}, {section, settings::kKeyPassWord, {}}});
}

bool RememberConnection(std::string_view box, bool remember, std::string_view user,
                        std::string_view password) {
  const std::u16string section = Utf8ToUtf16(box);
  const std::u16string userText = remember ? Utf8ToUtf16(user) : std::u16string();
  const std::u16string passwordText =
      remember ? Utf8ToUtf16(Base64Encode(password)) : std::u16string();
  if (box.empty()) {
    // No section can carry the login of a box without a name. The record of
    // the last box is emptied all the same; a login to remember is refused
    // by the store as a value it cannot hold, so the caller has its reason.
    if (!SetLastBox(box)) {
      return false;
    }
    return !remember || settings::Write(section, settings::kKeyUserName, userText);
  }
  return settings::Write({{settings::kSectionCurrent, settings::kKeyServName, section},
                          {section, settings::kKeyUserName, userText},
                          {section, settings::kKeyPassWord, passwordText}});
}

bool ForgetLoginIfRemembered(std::string_view box, std::string_view user,
                             std::string_view password) {
  const StoredLogin remembered = RememberedLogin(box);
  if (remembered.user.empty() || remembered.user != user || remembered.password != password) {
    return false;
  }
  return ForgetLogin(box);
}

std::optional<std::string> LastBox() {
  if (auto box = ReadValue(settings::kSectionCurrent, settings::kKeyServName)) {
    return Utf16ToUtf8(*box);
  }
  return std::nullopt;
}

bool SetLastBox(std::string_view box) {
  return settings::Write(settings::kSectionCurrent, settings::kKeyServName, Utf8ToUtf16(box));
}

bool ForgetLastBoxLogin() {
  const std::optional<std::string> box = LastBox();
  return box && ForgetLogin(*box);
}

bool FirstRunOfferMade() {
  return ReadValue(settings::kSectionUsed, settings::kKeyFirstOpen).has_value();
}

bool MarkFirstRunOfferMade() {
  return settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, settings::kFirstOpenDone);
}

std::uint32_t ReadIdleTime() {
  const std::optional<std::u16string> stored =
      ReadValue(settings::kSectionCurrent, settings::kKeyLoginOutTime);
  if (!stored || stored->front() == u'-') {
    return settings::kDefaultLoginOutTimeMs;
  }
  const std::uint32_t minutes = LeadingNumber(*stored) / kMinuteMs;
  for (std::uint32_t offered : kIdleMinutes) {
    if (minutes == offered) {
      return offered * kMinuteMs;
    }
  }
  return settings::kDefaultLoginOutTimeMs;
}

bool WriteIdleTime(std::uint32_t milliseconds) {
  return settings::Write(settings::kSectionCurrent, settings::kKeyLoginOutTime,
                         FormatPattern(kIdleTimePattern, {milliseconds}));
}

} // namespace corvesta
