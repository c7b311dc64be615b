#pragma once
// The disk formatting of a box: stop the file browser, create volumes from a
// volume line, format over time, remount, check the remount, finish.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "box_state.h"
#include "event_loop.h"

namespace corvesta::sim {

inline constexpr int kFormatNoError = 1; // errcode of a format that went well

struct FormatChain {
  enum class Phase { kIdle, kRunning, kFinished };
  bool fileBrowserStopped = false;
  Phase phase = Phase::kIdle;
  Clock::time_point started{};
  int durationMs = 0;
  int endMs = 0;        // when it ends: durationMs, or earlier for a failing format
  int endPercent = 100; // the percent reported once it has ended
  int errcode = kFormatNoError;
  std::vector<Volume> planned;
  bool remounted = false;
  bool remountChecked = false;
  unsigned run = 0; // counts formats, so that a late timer never ends a later one
};

// What dm_read_state.xml reports.
struct FormatReport {
  bool finished = false;
  int errcode = kFormatNoError;
  int percent = 0;
};

// Reads f_create_volume_info: one or two volumes of 15 comma-separated values
// each, checked against the box's disks. Nothing (and `error`) when the line
// is not one a box would accept.
std::optional<std::vector<Volume>>
ParseVolumeLine(std::string_view line, const std::vector<Disk> &disks, std::string &error);

// The report at `now`; a running format reports a percent that grows with
// the time passed and stays below 100 until the format is finished.
FormatReport ReportOf(const FormatChain &chain, Clock::time_point now);

nlohmann::json FormatChainToJson(const FormatChain &chain, Clock::time_point now);

} // namespace corvesta::sim
