#include "format_chain.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace corvesta::sim {

namespace {

constexpr std::size_t kValuesPerVolume = 15;
constexpr std::int64_t kKibPerGib = 1024 * 1024;

std::vector<std::string_view> SplitCommas(std::string_view line) {
  std::vector<std::string_view> values;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = line.find(',', start);
    values.push_back(line.substr(start, comma - start));
    if (comma == std::string_view::npos) {
      return values;
    }
    start = comma + 1;
  }
}

std::optional<std::int64_t> Number(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) {
    return std::nullopt;
  }
  return value;
}

// The disks named by `field`: one device name, or two written one after the
// other, in either order of the box's disks.
std::vector<const Disk *> DisksOf(std::string_view field, const std::vector<Disk> &disks) {
  for (const Disk &a : disks) {
    if (field == a.device) {
      return {&a};
    }
  }
  for (const Disk &a : disks) {
    for (const Disk &b : disks) {
      if (&a != &b && field.size() == a.device.size() + b.device.size() &&
          field.substr(0, a.device.size()) == a.device &&
          field.substr(a.device.size()) == b.device) {
        return {&a, &b};
      }
    }
  }
  return {};
}

bool CheckVolume(const std::vector<std::string_view> &v, std::size_t index,
                 const std::vector<Disk> &disks, Volume &volume, std::string &error) {
  const std::string which = "volume " + std::to_string(index + 1) + ": ";
  const auto number = Number(v[0]);
  const auto size = Number(v[3]);
  const auto firstFlag = Number(v[6]);
  const auto secondFlag = Number(v[11]);
  if (!number || *number != static_cast<std::int64_t>(index + 1)) {
    error = which + "value 1 must be the volume number " + std::to_string(index + 1);
    return false;
  }
  const std::string_view mode = v[1];
  if (mode != "standard" && mode != "linear" && mode != "raid0" && mode != "raid1") {
    error = which + "unknown mode \"" + std::string(mode) + "\"";
    return false;
  }
  if (v[2] != "ext4" && v[2] != "ext3") {
    error = which + "unknown file system \"" + std::string(v[2]) + "\"";
    return false;
  }
  if (!size || *size <= 0) {
    error = which + "the size must be a positive number";
    return false;
  }
  const auto used = DisksOf(v[4], disks);
  if (used.empty()) {
    error = which + "\"" + std::string(v[4]) + "\" names no disk of this box";
    return false;
  }
  if ((mode == "raid0" || mode == "raid1") && used.size() != 2) {
    error = which + std::string(mode) + " needs two disks";
    return false;
  }
  if (mode == "standard" && used.size() != 1) {
    error = which + "a standard volume lies on one disk";
    return false;
  }
  if (v[5] != "none" || v[7] != "1" || v[9] != "0" || v[10] != "none" || v[12] != "0" ||
      v[13] != "0" || v[14] != "null") {
    error = which + "the constant values (none, 1, 0, none, 0, 0, null) are not as expected";
    return false;
  }
  if (Number(v[8]) != size) {
    error = which + "values 4 and 9 must both be the size";
    return false;
  }
  if (!firstFlag || (*firstFlag != 0 && *firstFlag != 1) || !secondFlag ||
      (*secondFlag != 0 && *secondFlag != 1)) {
    error = which + "values 7 and 12 must be 0 or 1";
    return false;
  }
  std::int64_t capacity = 0;
  std::int64_t smallest = used.front()->sizeGib;
  for (const Disk *disk : used) {
    capacity += disk->sizeGib;
    smallest = std::min(smallest, disk->sizeGib);
  }
  if (mode == "raid1" || mode == "raid0") {
    capacity = mode == "raid1" ? smallest : 2 * smallest;
  }
  if (*firstFlag == 1) {
    capacity = std::abs(used.front()->sizeGib - used.back()->sizeGib);
  }
  if (*size > capacity) {
    error = which + "size " + std::to_string(*size) + " GiB exceeds the " +
            std::to_string(capacity) + " GiB the disks offer";
    return false;
  }
  volume.number = static_cast<int>(*number);
  volume.mode = std::string(mode);
  volume.fileSystem = std::string(v[2]);
  volume.disks = std::string(v[4]);
  volume.totalKib = *size * kKibPerGib;
  volume.usedKib = 0;
  return true;
}

} // namespace

std::optional<std::vector<Volume>>
ParseVolumeLine(std::string_view line, const std::vector<Disk> &disks, std::string &error) {
  if (disks.empty()) {
    error = "the box has no disk";
    return std::nullopt;
  }
  const std::vector<std::string_view> values = SplitCommas(line);
  if (values.size() != kValuesPerVolume && values.size() != 2 * kValuesPerVolume) {
    error = "the volume line has " + std::to_string(values.size()) +
            " values; one volume has 15, two have 30";
    return std::nullopt;
  }
  std::vector<Volume> volumes;
  for (std::size_t i = 0; i * kValuesPerVolume < values.size(); ++i) {
    const std::vector<std::string_view> one(
        values.begin() + static_cast<long>(i * kValuesPerVolume),
        values.begin() + static_cast<long>((i + 1) * kValuesPerVolume));
    Volume volume;
    if (!CheckVolume(one, i, disks, volume, error)) {
      return std::nullopt;
    }
    volumes.push_back(std::move(volume));
  }
  return volumes;
}

FormatReport ReportOf(const FormatChain &chain, Clock::time_point now) {
  FormatReport report;
  switch (chain.phase) {
  case FormatChain::Phase::kIdle:
    break;
  case FormatChain::Phase::kRunning: {
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(now - chain.started).count();
    const std::int64_t percent =
        chain.durationMs <= 0 ? 99 : elapsed * 100 / std::max(1, chain.durationMs);
    report.percent = static_cast<int>(std::clamp<std::int64_t>(percent, 0, 99));
    break;
  }
  case FormatChain::Phase::kFinished:
    report.finished = true;
    report.errcode = chain.errcode;
    report.percent = chain.errcode == kFormatNoError ? 100 : chain.endPercent;
    break;
  }
  return report;
}

nlohmann::json FormatChainToJson(const FormatChain &chain, Clock::time_point now) {
  static constexpr const char *kPhases[] = {"idle", "running", "finished"};
  const FormatReport report = ReportOf(chain, now);
  nlohmann::json planned = nlohmann::json::array();
  for (const Volume &volume : chain.planned) {
    planned.push_back({{"volume", volume.number},
                       {"mode", volume.mode},
                       {"disks", volume.disks},
                       {"total_kib", volume.totalKib}});
  }
  return {{"file_browser_stopped", chain.fileBrowserStopped},
          {"phase", kPhases[static_cast<int>(chain.phase)]},
          {"percent", report.percent},
          {"errcode", report.errcode},
          {"planned", planned},
          {"remounted", chain.remounted},
          {"remount_checked", chain.remountChecked}};
}

} // namespace corvesta::sim
