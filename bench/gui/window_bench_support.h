#pragma once
// What the window benchmarks share: a settings folder of their own, never the
// user's, bounded runs of the event loop, a probe of the UI thread and one
// box at its first address.

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/query.h"
#include "nas/udp/adapter_table.h"
#include "platform/text_codec.h"

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

inline double Ms(std::chrono::steady_clock::duration span) {
  return std::chrono::duration<double, std::milli>(span).count();
}

// A 10 ms timer on the UI thread: the longest gap between two of its
// firings (the time since the last one counted at Stop) and the most
// requests alive at any firing, beyond those alive at Start.
class UiThreadProbe {
public:
  UiThreadProbe() {
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
      const auto now = std::chrono::steady_clock::now();
      m_longest = std::max(m_longest, Ms(now - m_last));
      m_last = now;
      m_mostAlive = std::max(m_mostAlive, corvesta::CQuery::LiveCount() - m_aliveBefore);
    });
  }
  void Start() {
    m_longest = 0;
    m_mostAlive = 0;
    m_aliveBefore = corvesta::CQuery::LiveCount();
    m_last = std::chrono::steady_clock::now();
    m_timer.start();
  }
  void Stop() {
    m_timer.stop();
    m_longest = std::max(m_longest, Ms(std::chrono::steady_clock::now() - m_last));
  }
  double LongestGapMs() const { return m_longest; }
  std::int64_t MostAlive() const { return m_mostAlive; }

private:
  QTimer m_timer;
  std::chrono::steady_clock::time_point m_last{};
  double m_longest = 0;
  std::int64_t m_mostAlive = 0;
  std::int64_t m_aliveBefore = 0;
};

// The device list holds one box, `name` at `ip` in 127/8, reached over this
// machine's loopback as the PC's adapter, with the first set-up's
// credentials (admin, admin).
inline void ListOneNewBox(const char *name, const char *ip) {
  corvesta::AdapterTable table;
  corvesta::CopyToField(table.adapters[0].address, sizeof table.adapters[0].address, "127.0.0.1");
  corvesta::CopyToField(table.adapters[0].mask, sizeof table.adapters[0].mask, "255.0.0.0");
  table.count = 1;
  corvesta::SetCurrentAdapterTable(table);
  const std::uint64_t generation = corvesta::DeviceList::Instance().Clear();
  corvesta::DeviceList::Instance().Update(
      generation, [&](std::vector<corvesta::NasDevice> &devices) {
        corvesta::NasDevice box;
        corvesta::CopyToField(box.name, sizeof box.name, name);
        corvesta::CopyToField(box.ip, sizeof box.ip, ip);
        corvesta::CopyToField(box.netmask, sizeof box.netmask, "255.0.0.0");
        devices.push_back(box);
      });
  corvesta::SetCurrentCredentials(corvesta::MakeCredentials("admin", "admin"));
}

} // namespace corvesta::bench
