#pragma once
// Every wait, pause and count of the box protocol, in one place.
//
// Code takes each wait and pause through Scaled(). The program always runs
// with the factor 1; tests that would otherwise sit through half a minute
// (an address change that is never acknowledged) shrink the times through
// SetTimeScaleForTests. Counts are never scaled.

#include <chrono>

namespace corvesta::timing {

using std::chrono::milliseconds;

// Discovery, per adapter: this many waits for a reply, no pause between them.
inline constexpr int kDiscoveryWaits = 32;
inline constexpr milliseconds kDiscoveryWait{70};
// A discovery run for one box ends this long after that box first answered:
// one more wait, for its replies through the other adapters.
inline constexpr milliseconds kDiscoveryTargetGrace = kDiscoveryWait;

// Credential check: waits for the verdict, with a pause after each wait that
// brought no verdict (none after the last).
inline constexpr int kCredWaits = 11;
inline constexpr milliseconds kCredWait{70};
inline constexpr milliseconds kCredPause{100};

// Address change: waits for the acknowledgement, with a pause after each
// counted wait but the last.
inline constexpr int kSetAddressWaits = 301;
inline constexpr milliseconds kSetAddressWait{10};
inline constexpr milliseconds kSetAddressPause{100};

// HTTP exchange: connect attempts, send attempts and timed-out receive waits
// are each limited to this count; each wait lasts at most kHttpWait and a
// wait that timed out is followed by kHttpPause.
inline constexpr int kHttpAttempts = 101;
inline constexpr milliseconds kHttpWait{70};
inline constexpr milliseconds kHttpPause{10};

// After the box has confirmed that its file browser stopped, the worker waits
// this long before reporting, so that the box has let go of its disks.
inline constexpr milliseconds kFileBrowserStopPause{5000};

// At the program's end, requests still running on their workers get this
// long to finish before the process leaves without running its static
// destructors. Not scaled: it bounds the program, not the protocol.
inline constexpr milliseconds kWorkerDrain{3000};
// How often the drain looks whether the workers have finished.
inline constexpr milliseconds kWorkerDrainPoll{20};

// ---- How long a sequence of steps (src/setup) waits for one request's
// outcome before it treats the request as unanswered. Each lies well above
// the longest the request's own waits and counts above can take, so a limit
// is reached only when a result was lost.

// Discovery: 32 waits of 70 ms on each of at most 8 adapters.
inline constexpr milliseconds kDiscoveryLimit{25000};
// Credential check: 11 waits of 70 ms with pauses of 100 ms.
inline constexpr milliseconds kCredentialCheckLimit{10000};
// One web request: connect, send and receive, each at most 101 waits.
inline constexpr milliseconds kWebRequestLimit{40000};
// The logout: its answer changes nothing, so it is not worth a long wait.
inline constexpr milliseconds kLogoutLimit{10000};
// Address change: 301 waits of 10 ms with pauses of 100 ms.
inline constexpr milliseconds kAddressChangeLimit{45000};

// ---- The multi-step sequences above the requests.

// Network change: the new settings follow the address lock after this pause;
// once the box has taken them its LAN address is read once a period, at most
// kAddressPolls times; inside the PC's subnet the login at the new address
// follows kReloginPause.
inline constexpr milliseconds kLockToSettingsPause{20};
inline constexpr int kAddressPolls = 8;
inline constexpr milliseconds kAddressPollPeriod{1000};
inline constexpr milliseconds kReloginPause{5000};

// Formatting: the state is read once a period until the box reports an end.
// The box decides when that is; the chain gives up when no state answer came
// for kFormatSilence, or after kFormatTotal in all.
inline constexpr milliseconds kFormatPollPeriod{1000};
inline constexpr milliseconds kFormatSilence{60000};
inline constexpr milliseconds kFormatTotal = std::chrono::hours(6);

// `duration` times the current factor.
std::chrono::microseconds Scaled(milliseconds duration);
// The same, rounded up to whole milliseconds, for timers.
milliseconds ScaledMilliseconds(milliseconds duration);

// For tests only: every later Scaled() uses `factor` (> 0).
void SetTimeScaleForTests(double factor);
double TimeScale();

// For tests only: a factor for the lifetime of the object.
class ScopedTimeScale {
public:
  explicit ScopedTimeScale(double factor) : m_previous(TimeScale()) {
    SetTimeScaleForTests(factor);
  }
  ~ScopedTimeScale() { SetTimeScaleForTests(m_previous); }
  ScopedTimeScale(const ScopedTimeScale &) = delete;
  ScopedTimeScale &operator=(const ScopedTimeScale &) = delete;

private:
  double m_previous;
};

} // namespace corvesta::timing
