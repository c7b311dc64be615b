#pragma once
// How full a box's volumes are, from the volume list reply: the sizes in
// whole GB, the share in use, and the texts the volume view shows.

#include <string>
#include <vector>

#include "nas/replies/volume_info.h"

namespace corvesta {

struct VolumeUsage {
  int volume = 0;        // the volume's number
  long long totalGb = 0; // the box's sizes divided by 1024 twice
  long long usedGb = 0;

  bool operator==(const VolumeUsage &) const = default;
};

// The volumes in the box's order, up to the first with number 0.
std::vector<VolumeUsage> VolumeUsages(const VolumeInfo &first);

// The share in use in whole percent, rounded to the nearest; 0 for a volume
// of no size, and never below 0 or above 100 whatever the box reports.
int UsedPercent(long long totalGb, long long usedGb);

// "Volume_1".
std::u16string VolumeLabel(int volume);
// "12G Used/931G Available", translated.
std::u16string UsageText(const VolumeUsage &usage);
// "1%".
std::u16string PercentText(int percent);
// "Volume_1  12G Used/931G Available  (1%)".
std::u16string VolumeUsageLine(const VolumeUsage &usage);

} // namespace corvesta
