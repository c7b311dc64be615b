#include "setup/volume_plan.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "i18n/own_texts.h"
#include "i18n/translate.h"
#include "platform/text_codec.h"

namespace corvesta {

namespace {
constexpr char kFileSystem[] = "ext4";
constexpr std::u16string_view kNoDiskText = u"No hard disk is detected.";
// GiB kept back from each volume: one disk's share, and two disks' share.
constexpr std::int64_t kSingleReserve = 3;
constexpr std::int64_t kDoubleReserve = 6;

// One volume before its size is known to fit the request.
struct PlannedVolume {
  std::int32_t number;
  std::string_view mode;
  std::int64_t size;
  std::string disks;
  std::int32_t autoSync;
  std::int32_t firstFlag;
  std::int32_t secondFlag;
};

VolumeSpec MakeVolumeRequest(const PlannedVolume &volume) {
  VolumeSpec request;
  request.autoSync = volume.autoSync;
  request.volumeNumber = volume.number;
  CopyToField(request.mode, sizeof request.mode, volume.mode);
  CopyToField(request.fileSystem, sizeof request.fileSystem, kFileSystem);
  request.size = static_cast<std::int32_t>(volume.size);
  CopyToField(request.disks, sizeof request.disks, volume.disks);
  request.firstFlag = volume.firstFlag;
  request.secondFlag = volume.secondFlag;
  return request;
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

bool DiskModeAllowed(int diskCount, DiskMode mode) {
  return diskCount == 2 || (diskCount == 1 && mode == DiskMode::Standalone);
}

const VolumeSpec &VolumePlan::Chain() {
  m_volumes[0].next = m_count > 1 ? &m_volumes[1] : nullptr;
  m_volumes[1].next = nullptr;
  return m_volumes[0];
}

std::optional<VolumePlan> PlanVolumes(const HdInfo &disks, DiskMode mode, std::u16string &problem) {
  const std::string d1(FieldText(disks.disk1Name, sizeof disks.disk1Name));
  const std::string d2(FieldText(disks.disk2Name, sizeof disks.disk2Name));
  // Sizes as the box reports them, in 64 bits so that no sum overflows.
  const std::int64_t s1 = disks.disk1Size;
  const std::int64_t s2 = disks.disk2Size;
  std::vector<PlannedVolume> volumes;
  if (disks.deviceCount == 1 && s1 >= 0) {
    if (mode != DiskMode::Standalone) {
      problem = Translate(kTwoDrivesNeededText);
      return std::nullopt;
    }
    volumes.push_back({1, ModeText(mode), s1 - kSingleReserve, d1, 0, 0, 1});
  } else if (disks.deviceCount == 2 && s1 >= 0 && s2 >= 0) {
    const std::string both = d1 + d2;
    if (both.size() >= sizeof VolumeSpec{}.disks) {
      problem = Translate(kDiskNamesTooLongText);
      return std::nullopt;
    }
    const std::int32_t equal = s1 == s2 ? 1 : 0;
    const std::int64_t smaller = std::min(s1, s2);
    const std::int64_t rest = (s1 > s2 ? s1 - s2 : s2 - s1) - kDoubleReserve;
    switch (mode) {
    case DiskMode::Standalone:
      volumes.push_back({1, "standard", s1, d1, 0, 0, equal});
      volumes.push_back({2, "standard", s2, d2, 0, 0, equal});
      break;
    case DiskMode::Jbod:
      volumes.push_back({1, "linear", s1 + s2 - kDoubleReserve, both, 0, 0, equal});
      break;
    case DiskMode::Raid0:
      volumes.push_back({1, "raid0", 2 * smaller - kDoubleReserve, both, 0, 0, equal});
      if (!equal && rest > 0) { // no remainder volume of no size
        volumes.push_back({2, "linear", rest, both, 0, 1, 0});
      }
      break;
    case DiskMode::Raid1:
      volumes.push_back({1, "raid1", smaller - kSingleReserve, both, 1, 0, equal});
      if (!equal && rest > 0) { // no remainder volume of no size
        volumes.push_back({2, "linear", rest, both, 1, 1, 0});
      }
      break;
    }
  } else {
    problem = Translate(kNoDiskText);
    return std::nullopt;
  }
  VolumePlan plan;
  for (const PlannedVolume &volume : volumes) {
    if (volume.size <= 0) {
      problem = Translate(kDisksTooSmallText);
      return std::nullopt;
    }
    if (volume.size > std::numeric_limits<std::int32_t>::max()) {
      problem = Translate(kNoDiskText); // no disk of that size exists
      return std::nullopt;
    }
    plan.Add(MakeVolumeRequest(volume));
  }
  return plan;
}

} // namespace corvesta
