#include "cli/volume_report.h"

#include <memory>

#include "cli/text_output.h"
#include "cli/wait_limits.h"
#include "i18n/format_pattern.h"
#include "i18n/translate.h"
#include "nas/http/command_set.h"
#include "nas/replies/volume_info.h"
#include "platform/text_codec.h"

namespace corvesta::cli {

namespace {
constexpr long long kKiloFactor = 1024;
} // namespace

std::optional<std::vector<VolumeLine>> ReadVolumes(CliWindow &window, std::int32_t index) {
  auto first = std::make_shared<VolumeInfo>();
  const Ticket ticket = StartReadVolumeList(window.Handle(), index, first);
  if (ticket == 0) {
    Err(Tr(u"Get Volume Information failed."));
    return std::nullopt;
  }
  auto result = window.WaitForQuery(ticket, limits::kWebRequest);
  if (!result) {
    Err(Tr(u"Get Volume Information failed."));
    return std::nullopt;
  }
  std::vector<VolumeLine> volumes;
  for (const VolumeInfo *node = first.get(); node != nullptr && node->volume != 0;
       node = node->next.get()) {
    volumes.push_back(VolumeLine{node->volume, node->total / kKiloFactor / kKiloFactor,
                                 node->used / kKiloFactor / kKiloFactor});
  }
  return volumes;
}

std::string VolumeText(const VolumeLine &volume) {
  const long long percent = volume.totalGb > 0 ? volume.usedGb * 100 / volume.totalGb : 0;
  return Utf16ToUtf8(FormatPattern(u"Volume_%d", {volume.volume})) + "  " +
         Utf16ToUtf8(
             FormatPattern(Translate(u"%dG Used/%dG Available"), {volume.usedGb, volume.totalGb})) +
         "  (" + std::to_string(percent) + "%)";
}

std::optional<std::u16string> ReadAccessText(CliWindow &window, std::int32_t index) {
  const Ticket ticket = StartReadUserAccess(window.Handle(), index);
  if (ticket == 0) {
    return std::nullopt;
  }
  auto result = window.WaitForQuery(ticket, limits::kWebRequest);
  if (!result || !result->query) {
    return std::nullopt;
  }
  return result->query->accessText;
}

CenterRights RightsFromAccessText(std::u16string_view access) {
  auto open = [&](std::size_t position) {
    return position < access.size() && access[position] != u'0';
  };
  return CenterRights{open(2), open(6), open(8), open(10)};
}

} // namespace corvesta::cli
