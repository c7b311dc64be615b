#include "cli/volume_plan.h"

#include <algorithm>
#include <cstdlib>

#include "cli/text_output.h"
#include "platform/text_codec.h"

namespace corvesta::cli {

namespace {
constexpr char kFileSystem[] = "ext4";
// GiB kept back from each volume: one disk's share, and two disks' share.
constexpr std::int32_t kSingleReserve = 3;
constexpr std::int32_t kDoubleReserve = 6;

VolumeSpec MakeSpec(std::int32_t number, std::string_view mode, std::int32_t size,
                    std::string_view disks, std::int32_t autoSync, std::int32_t firstFlag,
                    std::int32_t secondFlag) {
  VolumeSpec spec;
  spec.autoSync = autoSync;
  spec.volumeNumber = number;
  CopyToField(spec.mode, sizeof spec.mode, mode);
  CopyToField(spec.fileSystem, sizeof spec.fileSystem, kFileSystem);
  spec.size = size;
  CopyToField(spec.disks, sizeof spec.disks, disks);
  spec.firstFlag = firstFlag;
  spec.secondFlag = secondFlag;
  return spec;
}
} // namespace

std::optional<DiskMode> DiskModeFromWord(std::string_view word) {
  if (word == "standalone") {
    return DiskMode::Standalone;
  }
  if (word == "jbod") {
    return DiskMode::Jbod;
  }
  if (word == "raid0") {
    return DiskMode::Raid0;
  }
  if (word == "raid1") {
    return DiskMode::Raid1;
  }
  return std::nullopt;
}

std::string_view ModeText(DiskMode mode) {
  switch (mode) {
  case DiskMode::Standalone:
    return "standard";
  case DiskMode::Jbod:
    return "linear";
  case DiskMode::Raid0:
    return "raid0";
  case DiskMode::Raid1:
    return "raid1";
  }
  return "standard";
}

const VolumeSpec &VolumePlan::Chain() {
  m_specs[0].next = m_count > 1 ? &m_specs[1] : nullptr;
  m_specs[1].next = nullptr;
  return m_specs[0];
}

std::optional<VolumePlan> PlanVolumes(const HdInfo &disks, DiskMode mode, std::u16string &problem) {
  VolumePlan plan;
  const std::string d1 = FieldString(disks.disk1Name);
  const std::string d2 = FieldString(disks.disk2Name);
  const std::int32_t s1 = disks.disk1Size;
  const std::int32_t s2 = disks.disk2Size;
  if (disks.deviceCount == 1) {
    if (mode != DiskMode::Standalone) {
      problem = u"This disk mode requires two drives; the NAS has one.";
      return std::nullopt;
    }
    plan.Add(MakeSpec(1, ModeText(mode), s1 - kSingleReserve, d1, 0, 0, 1));
  } else if (disks.deviceCount == 2) {
    const std::string both = d1 + d2;
    // The disks field holds 9 bytes of names.
    if (both.size() >= sizeof VolumeSpec{}.disks) {
      problem = u"The disks' device names are too long for the format request.";
      return std::nullopt;
    }
    const std::int32_t equal = s1 == s2 ? 1 : 0;
    const std::int32_t smaller = std::min(s1, s2);
    const std::int32_t rest = std::abs(s1 - s2) - kDoubleReserve;
    switch (mode) {
    case DiskMode::Standalone:
      plan.Add(MakeSpec(1, "standard", s1, d1, 0, 0, equal));
      plan.Add(MakeSpec(2, "standard", s2, d2, 0, 0, equal));
      break;
    case DiskMode::Jbod:
      plan.Add(MakeSpec(1, "linear", s1 + s2 - kDoubleReserve, both, 0, 0, equal));
      break;
    case DiskMode::Raid0:
      plan.Add(MakeSpec(1, "raid0", 2 * smaller - kDoubleReserve, both, 0, 0, equal));
      if (!equal && rest > 0) { // no remainder volume of no size
        plan.Add(MakeSpec(2, "linear", rest, both, 0, 1, 0));
      }
      break;
    case DiskMode::Raid1:
      plan.Add(MakeSpec(1, "raid1", smaller - kSingleReserve, both, 1, 0, equal));
      if (!equal && rest > 0) { // no remainder volume of no size
        plan.Add(MakeSpec(2, "linear", rest, both, 1, 1, 0));
      }
      break;
    }
  } else {
    problem = u"No hard disk is detected.";
    return std::nullopt;
  }
  for (int i = 0; i < plan.Count(); ++i) {
    if (plan.At(i).size <= 0) {
      problem = u"The disks are too small for this disk mode.";
      return std::nullopt;
    }
  }
  return plan;
}

} // namespace corvesta::cli
