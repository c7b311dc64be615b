#pragma once
// The volumes a disk mode makes of a box's one or two disks: sizes in GiB,
// the disks they use and their flags, as the format request carries them.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "nas/http/request_records.h"
#include "nas/replies/hd_info.h"

namespace corvesta {

enum class DiskMode { Standalone, Jbod, Raid0, Raid1 };

// The words people type for the modes: "standalone", "jbod", "raid0",
// "raid1".
std::optional<DiskMode> DiskModeFromWord(std::string_view word);
// The mode text the box knows: "standard", "linear", "raid0", "raid1".
std::string_view ModeText(DiskMode mode);

// Whether a disk report of `diskCount` disks leaves `mode` to choose:
// StandAlone with one disk, every mode with two, none with another count.
bool DiskModeAllowed(int diskCount, DiskMode mode);

class VolumePlan {
public:
  int Count() const { return m_count; }
  const VolumeSpec &At(int index) const { return m_volumes[static_cast<std::size_t>(index)]; }
  // The first volume with the second chained to it, ready for the request. The
  // chain points into this plan: a copy chains again to its own volumes.
  const VolumeSpec &Chain();

  void Add(const VolumeSpec &volume) { m_volumes[static_cast<std::size_t>(m_count++)] = volume; }

private:
  std::array<VolumeSpec, 2> m_volumes{};
  int m_count = 0;
};

// The plan, or nothing with the translated reason in `problem`: a disk
// count other than 1 or 2 or a disk of negative size, a two-disk mode with
// one disk, a volume of no size, or device names that do not fit the
// request.
std::optional<VolumePlan> PlanVolumes(const HdInfo &disks, DiskMode mode, std::u16string &problem);

} // namespace corvesta
