#include "setup/center_link.h"

#include <array>

#include "i18n/format_pattern.h"
#include "platform/base64.h"
#include "platform/text_codec.h"

namespace corvesta {

namespace {
constexpr std::array<WebCenterEntry, 5> kCenters{{
    {WebCenter::File, "file", 1, false, ""},
    {WebCenter::Management, "management", 2, true, "&d=status"},
    {WebCenter::Download, "download", 3, true, ""},
    {WebCenter::Backup, "backup", 4, true, ""},
    {WebCenter::Surveillance, "surveillance", 5, false, ""},
}};

constexpr std::u16string_view kLinkPattern = u"http://%s/web/utility_redirect.html?m=%d&u=%s&p=%s";
constexpr std::u16string_view kSharePathPattern = u"\\\\%s\\%s";
} // namespace

std::span<const WebCenterEntry> WebCenters() {
  return kCenters;
}

const WebCenterEntry &WebCenterOf(WebCenter center) {
  for (const WebCenterEntry &entry : kCenters) {
    if (entry.center == center) {
      return entry;
    }
  }
  return kCenters.front();
}

std::optional<WebCenter> WebCenterFromWord(std::string_view word) {
  for (const WebCenterEntry &entry : kCenters) {
    if (entry.word == word) {
      return entry.center;
    }
  }
  return std::nullopt;
}

std::string CenterLink(WebCenter center, std::string_view boxAddress, std::string_view user,
                       std::string_view password) {
  const WebCenterEntry &entry = WebCenterOf(center);
  const std::string p = entry.base64Password ? Base64Encode(password) : std::string(password);
  const std::u16string link = FillPattern(
      kLinkPattern, {Utf8ToUtf16(boxAddress), entry.mode, Utf8ToUtf16(user), Utf8ToUtf16(p)});
  return Utf16ToUtf8(link) + std::string(entry.suffix);
}

std::u16string ShareNetworkPath(std::u16string_view boxAddress, std::u16string_view share) {
  return FillPattern(kSharePathPattern, {boxAddress, share});
}

} // namespace corvesta
