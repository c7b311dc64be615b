#include "cli/volume_report.h"

#include "cli/text_output.h"
#include "cli/wait_limits.h"
#include "i18n/format_pattern.h"
#include "i18n/translate.h"
#include "platform/text_codec.h"
#include "setup/volume_list_sequence.h"

namespace corvesta::cli {

namespace {
constexpr long long kKiloFactor = 1024;
} // namespace

VolumeLine VolumeLineOf(const SessionVolume &volume) {
  return VolumeLine{volume.volume, volume.total / kKiloFactor / kKiloFactor,
                    volume.used / kKiloFactor / kKiloFactor};
}

std::optional<std::vector<VolumeLine>> ReadVolumes(CliWindow &window, std::int32_t index) {
  VolumeListSequence reading(window.Host());
  if (!reading.Start(index) || !window.Run(reading, limits::kSequenceRun) || !reading.Volumes()) {
    Err(Tr(reading.Failure()));
    return std::nullopt;
  }
  std::vector<VolumeLine> volumes;
  for (const SessionVolume &volume : *reading.Volumes()) {
    volumes.push_back(VolumeLineOf(volume));
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

CenterRights RightsFromAccessText(std::u16string_view access) {
  auto open = [&](std::size_t position) {
    return position < access.size() && access[position] != u'0';
  };
  return CenterRights{open(2), open(6), open(8), open(10)};
}

} // namespace corvesta::cli
