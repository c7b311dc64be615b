#include "setup/volume_usage.h"

#include "i18n/format_pattern.h"
#include "i18n/translate.h"

namespace corvesta {

namespace {
constexpr long long kKiloFactor = 1024;
constexpr int kFullPercent = 100;
constexpr std::u16string_view kLabelPattern = u"Volume_%d";
constexpr std::u16string_view kUsagePattern = u"%dG Used/%dG Available";
constexpr std::u16string_view kPercentPattern = u"%d%%";
constexpr std::u16string_view kLinePattern = u"%s  %s  (%s)";
} // namespace

std::vector<VolumeUsage> VolumeUsages(const VolumeInfo &first) {
  std::vector<VolumeUsage> volumes;
  for (const VolumeInfo *node = &first; node != nullptr && node->volume != 0;
       node = node->next.get()) {
    volumes.push_back(VolumeUsage{node->volume, node->total / kKiloFactor / kKiloFactor,
                                  node->used / kKiloFactor / kKiloFactor});
  }
  return volumes;
}

int UsedPercent(long long totalGb, long long usedGb) {
  if (totalGb <= 0 || usedGb <= 0) {
    return 0;
  }
  if (usedGb >= totalGb) {
    return kFullPercent;
  }
  return static_cast<int>(
      static_cast<double>(usedGb) * kFullPercent / static_cast<double>(totalGb) + 0.5);
}

std::u16string VolumeLabel(int volume) {
  return FormatPattern(kLabelPattern, {volume});
}

std::u16string UsageText(const VolumeUsage &usage) {
  return FormatPattern(Translate(kUsagePattern), {usage.usedGb, usage.totalGb});
}

std::u16string PercentText(int percent) {
  return FormatPattern(kPercentPattern, {percent});
}

std::u16string VolumeUsageLine(const VolumeUsage &usage) {
  return FillPattern(kLinePattern, {VolumeLabel(usage.volume), UsageText(usage),
                                    PercentText(UsedPercent(usage.totalGb, usage.usedGb))});
}

} // namespace corvesta
