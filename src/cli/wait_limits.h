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
// A sequence of the core bounds each of its waits itself; this only guards
// the front end against one that never ends.
inline constexpr milliseconds kSequenceRun = std::chrono::minutes(5);

// The sequences end by their own limits; these lie above the longest each
// can take. New network settings: the settings and the login each within a
// web request's limit, the polls and the pause before the login.
inline constexpr milliseconds kNetworkChange = std::chrono::minutes(3);
// Formatting: the whole formatting and the steps around it.
inline constexpr milliseconds kFormatChain = timing::kFormatTotal + std::chrono::minutes(10);

// A format left by a signal: the remount, its check and the finish (or the
// finish alone) get this long before the logout and the end.
inline constexpr milliseconds kFormatInterrupt = seconds(30);

// reconnect: a remembered network drive whose box does not answer is tried
// again for this long, with this pause between the tries.
inline constexpr milliseconds kDriveReconnectPatience = std::chrono::minutes(1);
inline constexpr milliseconds kDriveReconnectPause = seconds(5);

// Progress is redrawn this often while waiting.
inline constexpr milliseconds kProgressTick{100};

} // namespace corvesta::cli::limits
