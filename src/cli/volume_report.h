#pragma once
// Reading a box's volume list, and showing it as the information panel does.

#include <optional>
#include <string>
#include <vector>

#include "cli/cli_window.h"
#include "setup/volume_usage.h"

namespace corvesta::cli {

using VolumeLine = VolumeUsage;

// The volumes, in the box's order, up to the first with number 0. Nothing
// (after "Get Volume Information failed.") when the list could not be read.
std::optional<std::vector<VolumeLine>> ReadVolumes(CliWindow &window, std::int32_t index);

// "Volume_1  12G Used/931G Available  (1%)", as UTF-8.
std::string VolumeText(const VolumeLine &volume);

} // namespace corvesta::cli
