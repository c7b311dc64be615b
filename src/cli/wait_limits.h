#pragma once
// How long corvesta-cli waits for each kind of answer before it gives up.
// Each limit lies above the longest the core's own waits and counts can take,
// so a limit is reached only when something is badly wrong; the front end
// never waits without one.

#include <chrono>

#include "nas/protocol_timing.h"

namespace corvesta::cli::limits {

using std::chrono::milliseconds;
using std::chrono::seconds;

// One web request, as the core's sequences bound it.
inline constexpr milliseconds kWebRequest = timing::kWebRequestLimit;
// Stopping the file browser includes a 5 s pause on the worker.
inline constexpr milliseconds kStopFileBrowser = seconds(50);
// A sequence of the core bounds each of its waits itself; this only guards
// the front end against one that never ends.
inline constexpr milliseconds kSequenceRun = std::chrono::minutes(5);

// Address polling after new network settings: this many polls, one a second.
inline constexpr int kAddressPolls = 8;
inline constexpr milliseconds kAddressPollPeriod = seconds(1);
// Pause before logging in again at the box's new address.
inline constexpr milliseconds kReloginPause = seconds(5);
// Pause between the address lock and the network settings.
inline constexpr milliseconds kLockToSettingsPause{20};

// Formatting: one state poll a second. The box decides when it ends; the
// front end gives up when no state answer came for kFormatSilence, or after
// kFormatTotal in all.
inline constexpr milliseconds kFormatPollPeriod = seconds(1);
inline constexpr milliseconds kFormatSilence = seconds(60);
inline constexpr milliseconds kFormatTotal = std::chrono::hours(6);

// Workers still running when the program ends get this long to finish.
inline constexpr milliseconds kWorkerDrain = seconds(3);

// Progress is redrawn this often while waiting.
inline constexpr milliseconds kProgressTick{100};

} // namespace corvesta::cli::limits
