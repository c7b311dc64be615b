#include "cli/signal_logout.h"

#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <mutex>
#include <optional>

#include "cli/cli_window.h"
#include "cli/terminal.h"
#include "cli/text_output.h"
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

} // namespace

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
