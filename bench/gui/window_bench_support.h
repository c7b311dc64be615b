#pragma once
// What the window benchmarks share: a settings folder of their own, never the
// user's, and bounded runs of the event loop.

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace corvesta::bench {

// A fresh folder under /tmp, removed with its contents when the object goes
// away; with `asConfigHome` the process's XDG_CONFIG_HOME points at it, so
// the settings file the windows write is the benchmark's own.
class ScopedConfigFolder {
public:
  explicit ScopedConfigFolder(bool asConfigHome) {
    std::string pattern = "/tmp/corvesta-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) {
      m_path = pattern;
      if (asConfigHome) {
        ::setenv("XDG_CONFIG_HOME", m_path.c_str(), 1);
      }
    }
  }
  ~ScopedConfigFolder() {
    if (!m_path.empty()) {
      std::error_code error;
      std::filesystem::remove_all(m_path, error);
    }
  }
  ScopedConfigFolder(const ScopedConfigFolder &) = delete;
  ScopedConfigFolder &operator=(const ScopedConfigFolder &) = delete;

  // Empty when no folder could be made.
  const std::string &Path() const { return m_path; }

private:
  std::string m_path;
};

// The event loop's wait wakes at least this often, so that a condition or
// a limit is looked at without an event to bring it.
inline constexpr std::chrono::milliseconds kPumpWake{10};

// Runs the event loop until `done` holds; false once `limit` has passed.
// Between events the thread sleeps (a timed processEvents would not wait and
// would keep a processor busy beside what is measured).
template <class Done>
bool PumpUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(30)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  QTimer wake;
  wake.start(kPumpWake);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) {
      return false;
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

// Runs the event loop for `span`.
inline void PumpFor(std::chrono::milliseconds span) {
  const auto end = std::chrono::steady_clock::now() + span;
  PumpUntil([&] { return std::chrono::steady_clock::now() >= end; }, span + kPumpWake);
}

} // namespace corvesta::bench
