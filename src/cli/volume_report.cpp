#include "cli/volume_report.h"

#include <memory>

#include "cli/text_output.h"
#include "cli/wait_limits.h"
#include "nas/http/command_set.h"
#include "nas/replies/volume_info.h"
#include "platform/text_codec.h"

namespace corvesta::cli {

std::optional<std::vector<VolumeLine>> ReadVolumes(CliWindow &window, std::int32_t index) {
  auto first = std::make_unique<VolumeInfo>();
  const Ticket ticket = StartReadVolumeList(window.Handle(), index, first.get());
  if (ticket == 0) {
    Err(Tr(u"Get Volume Information failed."));
    return std::nullopt;
  }
  auto result = window.WaitForQuery(ticket, limits::kWebRequest);
  if (!result) {
    // The worker may still write into the list: leave it to the worker's end.
    first.release();
    Err(Tr(u"Get Volume Information failed."));
    return std::nullopt;
  }
  return VolumeUsages(*first);
}

std::string VolumeText(const VolumeLine &volume) {
  return Utf16ToUtf8(VolumeUsageLine(volume));
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

} // namespace corvesta::cli
