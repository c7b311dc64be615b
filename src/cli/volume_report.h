#pragma once
// A box's volume list and access rights, shown as the information panel
// shows them.

#include <optional>
#include <string>
#include <vector>

#include "cli/cli_window.h"
#include "setup/volume_list_reading.h"

namespace corvesta::cli {

struct VolumeLine {
  int volume = 0;
  long long totalGb = 0; // the box's sizes divided by 1024 twice
  long long usedGb = 0;
};

// The volumes, in the box's order, up to the first with number 0. Nothing
// (after "Get Volume Information failed.") when the list could not be read.
std::optional<std::vector<VolumeLine>> ReadVolumes(CliWindow &window, std::int32_t index);

// A volume's sizes as the panel shows them.
VolumeLine VolumeLineOf(const SessionVolume &volume);

// "Volume_1  12G Used/931G Available (1%)".
std::string VolumeText(const VolumeLine &volume);

// The centers that the rights text opens (positions 2, 6, 8 and 10; a
// missing position counts as '0').
struct CenterRights {
  bool download = false;
  bool backup = false;
  bool management = false;
  bool surveillance = false;
};
CenterRights RightsFromAccessText(std::u16string_view access);

} // namespace corvesta::cli
