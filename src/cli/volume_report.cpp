#include "cli/volume_report.h"

#include "cli/text_output.h"
#include "cli/wait_limits.h"
#include "platform/text_codec.h"
#include "setup/volume_list_sequence.h"

namespace corvesta::cli {

std::optional<std::vector<VolumeLine>> ReadVolumes(CliWindow &window, std::int32_t index) {
  VolumeListSequence reading(window.Host());
  if (!reading.Start(index) || !window.Run(reading, limits::kSequenceRun) || !reading.Volumes()) {
    Err(Tr(reading.Failure()));
    return std::nullopt;
  }
  return *reading.Volumes();
}

std::string VolumeText(const VolumeLine &volume) {
  return Utf16ToUtf8(VolumeUsageLine(volume));
}

} // namespace corvesta::cli
