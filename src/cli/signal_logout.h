#pragma once
// SIGINT, SIGTERM and SIGHUP end corvesta-cli, but never with a login left
// open on a box. The signals are blocked in every thread of the process and
// taken from a signalfd by a watcher thread, so no code runs in a signal
// handler. On a signal the watcher restores the terminal's echo, logs out of
// the box whose login may be open (one logout, bounded by the logout's own
// limit), lets running requests end (bounded) and ends the process with
// 128 plus the signal's number.

#include <cstdint>
#include <string>
#include <thread>

#include "platform/unique_fd.h"

namespace corvesta::cli {

class SignalLogout {
public:
  // Blocks the signals in the calling thread (threads started later inherit
  // that) and starts the watcher. Construct it before any other thread.
  SignalLogout();
  // Stops the watcher; the signals stay blocked until the process ends.
  ~SignalLogout();
  SignalLogout(const SignalLogout &) = delete;
  SignalLogout &operator=(const SignalLogout &) = delete;

  bool Active() const { return m_active; }

private:
  void Watch();

  UniqueFd m_signals; // signalfd
  UniqueFd m_stop;    // eventfd that ends the watcher
  std::thread m_watcher;
  bool m_active = false;
};

// The box a logout is due at if a signal comes: a login may be open there.
// `alsoAt`, when not empty, is a further address the box may answer at.
void SetLogoutDue(std::int32_t deviceIndex, const std::string &alsoAt = {});
// No logout is due (the owner logs out itself, or nothing is open).
void ClearLogoutDue();

// While the box formats, a first SIGINT only warns that leaving now leaves
// the box's file service stopped. A second one, SIGTERM or SIGHUP ask for
// the formatting to be interrupted: the format's loop sees the request
// (FormatInterruptWanted) and interrupts its chain, which sends what leaves
// the box usable; the watcher waits for the chain's end (SetFormatting(false))
// at most limits::kFormatInterrupt, then logs out and ends the process.
void SetFormatting(bool formatting);
bool FormatInterruptWanted();
// After an interrupted chain: the watcher ends the process; the calling
// thread waits for that.
[[noreturn]] void AwaitSignalEnd();

} // namespace corvesta::cli
