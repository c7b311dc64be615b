#include "cli/signal_logout.h"

#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <array>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>

#include "cli/cli_window.h"
#include "cli/terminal.h"
#include "cli/text_output.h"
#include "cli/wait_limits.h"
#include "i18n/own_texts.h"
#include "nas/protocol_timing.h"
#include "nas/worker_drain.h"
#include "setup/logout_sequence.h"

namespace corvesta::cli {

namespace {

constexpr std::array<int, 3> kEndingSignals{SIGINT, SIGTERM, SIGHUP};
// An ending by a signal reports 128 plus its number, as a shell does.
constexpr int kSignalStatusBase = 128;
// Requests still running after the logout get this long before the end.
constexpr std::chrono::milliseconds kSignalDrain{1000};

struct DueLogout {
  std::int32_t deviceIndex = -1;
  std::string alsoAt;
};

std::mutex g_dueLock;
std::optional<DueLogout> g_due;

std::optional<DueLogout> TakeDue() {
  std::lock_guard guard(g_dueLock);
  std::optional<DueLogout> due = std::move(g_due);
  g_due.reset();
  return due;
}

sigset_t EndingSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : kEndingSignals) {
    sigaddset(&set, signal);
  }
  return set;
}

void LogOutNow(const DueLogout &due) {
  CliWindow window;
  LogoutSequence logout(window.Host());
  const auto bound = timing::kLogoutLimit + std::chrono::seconds(1);
  if (!due.alsoAt.empty() && logout.StartAt(due.deviceIndex, due.alsoAt, true)) {
    window.Run(logout, bound);
  }
  if (logout.Start(due.deviceIndex, true)) {
    window.Run(logout, bound);
  }
}

// The format under way, shared with the format's loop.
std::mutex g_formatLock;
std::condition_variable g_formatEnded;
bool g_formatting = false;
bool g_interruptWanted = false;
bool g_warned = false;

// True when the signal ends nothing yet (the first SIGINT of a format);
// otherwise, during a format, asks for its interruption and waits for the
// chain's end, bounded.
bool InterruptFormat(int signal) {
  std::unique_lock lock(g_formatLock);
  if (!g_formatting || g_interruptWanted) {
    return false;
  }
  if (signal == SIGINT && !g_warned) {
    g_warned = true;
    lock.unlock();
    Err(Tr(kFormatLeaveWarningText));
    return true;
  }
  g_interruptWanted = true;
  lock.unlock();
  Err(Tr(kFormatInterruptedText));
  lock.lock();
  g_formatEnded.wait_for(lock, limits::kFormatInterrupt, [] { return !g_formatting; });
  return false;
}

} // namespace

void SetFormatting(bool formatting) {
  {
    std::lock_guard guard(g_formatLock);
    g_formatting = formatting;
    g_warned = false;
    if (formatting) {
      g_interruptWanted = false;
    }
  }
  g_formatEnded.notify_all();
}

bool FormatInterruptWanted() {
  std::lock_guard guard(g_formatLock);
  return g_interruptWanted;
}

void AwaitSignalEnd() {
  for (;;) {
    std::this_thread::sleep_for(std::chrono::seconds(1));
  }
}

void SetLogoutDue(std::int32_t deviceIndex, const std::string &alsoAt) {
  std::lock_guard guard(g_dueLock);
  g_due = DueLogout{deviceIndex, alsoAt};
}

void ClearLogoutDue() {
  std::lock_guard guard(g_dueLock);
  g_due.reset();
}

SignalLogout::SignalLogout() {
  const sigset_t set = EndingSignals();
  if (::pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0) {
    return;
  }
  m_signals = UniqueFd(::signalfd(-1, &set, SFD_CLOEXEC));
  m_stop = UniqueFd(::eventfd(0, EFD_CLOEXEC));
  if (!m_signals || !m_stop) {
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    return;
  }
  m_watcher = std::thread([this] { Watch(); });
  m_active = true;
}

SignalLogout::~SignalLogout() {
  if (m_watcher.joinable()) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_stop.Get(), &one, sizeof one);
    m_watcher.join();
  }
}

void SignalLogout::Watch() {
  std::array<pollfd, 2> fds{{{m_signals.Get(), POLLIN, 0}, {m_stop.Get(), POLLIN, 0}}};
  for (;;) {
    if (::poll(fds.data(), fds.size(), -1) < 0) {
      continue; // interrupted: look again
    }
    if (fds[1].revents != 0) {
      return;
    }
    signalfd_siginfo info{};
    if (fds[0].revents == 0 ||
        ::read(m_signals.Get(), &info, sizeof info) != static_cast<ssize_t>(sizeof info)) {
      continue;
    }
    RestoreTerminalEcho();
    if (InterruptFormat(static_cast<int>(info.ssi_signo))) {
      continue; // the format goes on
    }
    if (const std::optional<DueLogout> due = TakeDue()) {
      Err("Interrupted: logging out of the NAS.");
      LogOutNow(*due);
    }
    DrainWorkers(kSignalDrain);
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(kSignalStatusBase + static_cast<int>(info.ssi_signo));
  }
}

} // namespace corvesta::cli
