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

// Discovery: 32 waits of 70 ms, every adapter at the same time.
inline constexpr milliseconds kDiscovery = seconds(25);
// Credential check: 11 waits of 70 ms with pauses of 100 ms.
inline constexpr milliseconds kCredentialCheck = seconds(10);
// One web request: connect, send and receive, each at most 101 waits.
inline constexpr milliseconds kWebRequest = timing::kAnswerLimit;
// The logout at the end of a command; not worth a long wait.
inline constexpr milliseconds kLogout = seconds(10);
// Address change: 301 waits of 10 ms with pauses of 100 ms.
inline constexpr milliseconds kAddressChange = seconds(45);

// The sequences end by their own limits; these lie above the longest each
// can take. New network settings: the settings and the login each within a
// web request's limit, the polls and the pause before the login.
inline constexpr milliseconds kNetworkChange = std::chrono::minutes(3);
// Formatting: the whole formatting and the steps around it.
inline constexpr milliseconds kFormatChain = timing::kFormatTotal + std::chrono::minutes(10);

// Workers still running when the program ends get this long to finish.
inline constexpr milliseconds kWorkerDrain = seconds(3);

// Progress is redrawn this often while waiting.
inline constexpr milliseconds kProgressTick{100};

} // namespace corvesta::cli::limits
