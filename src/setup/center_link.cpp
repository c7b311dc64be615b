#include "setup/center_link.h"

#include <array>

#include "i18n/format_pattern.h"
#include "platform/base64.h"
#include "platform/text_codec.h"

namespace corvesta {

namespace {
constexpr std::array<WebCenterSpec, 5> kCenters{{
    {WebCenter::File, "file", 1, false, ""},
    {WebCenter::Management, "management", 2, true, "&d=status"},
    {WebCenter::Download, "download", 3, true, ""},
    {WebCenter::Backup, "backup", 4, true, ""},
    {WebCenter::Surveillance, "surveillance", 5, false, ""},
}};

constexpr std::u16string_view kLinkPattern = u"http://%s/web/utility_redirect.html?m=%d&u=%s&p=%s";
constexpr std::u16string_view kSharePathPattern = u"\\\\%s\\%s";
} // namespace

std::span<const WebCenterSpec> WebCenters() {
  return kCenters;
}

const WebCenterSpec &WebCenterOf(WebCenter center) {
  for (const WebCenterSpec &spec : kCenters) {
    if (spec.center == center) {
      return spec;
    }
  }
  return kCenters.front();
}

std::optional<WebCenter> WebCenterFromWord(std::string_view word) {
  for (const WebCenterSpec &spec : kCenters) {
    if (spec.word == word) {
      return spec.center;
    }
  }
  return std::nullopt;
}

std::string CenterLink(WebCenter center, std::string_view boxAddress, std::string_view user,
                       std::string_view password) {
  const WebCenterSpec &spec = WebCenterOf(center);
  const std::string p = spec.base64Password ? Base64Encode(password) : std::string(password);
  const std::u16string link = FillPattern(
      kLinkPattern, {Utf8ToUtf16(boxAddress), spec.mode, Utf8ToUtf16(user), Utf8ToUtf16(p)});
  return Utf16ToUtf8(link) + std::string(spec.suffix);
}

std::u16string ShareNetworkPath(std::u16string_view boxAddress, std::u16string_view share) {
  return FillPattern(kSharePathPattern, {boxAddress, share});
}

} // namespace corvesta
