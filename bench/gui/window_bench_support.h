#pragma once
// What the window benchmarks share: their main, a settings folder of their
// own, never the user's, bounded runs of the event loop, a probe of the UI
// thread, one box at its first address, the main window's start and login,
// and a measured value taken alternately with its baseline.

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QString>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "../nas_sim_launcher.h"
#include "../ratio_line.h"
#include "child_process.h"
#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/query.h"
#include "nas/udp/adapter_table.h"
#include "platform/text_codec.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/utility_dlg.h"
#include "ui/platform/qt_services.h"

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

// The application a window benchmark runs in: its settings in a folder of
// its own, the platform services installed.
class WindowBenchApplication {
public:
  WindowBenchApplication(int &argc, char **argv) : m_config(true), m_application(argc, argv) {
    corvesta::InstallQtPlatformServices();
  }

private:
  ScopedConfigFolder m_config;
  QApplication m_application;
};

// Every registered benchmark with the console table, then `printRatios()`
// for the ratio lines; the program's exit status.
template <class PrintRatios>
int RunThenPrintRatios(int argc, char **argv, PrintRatios printRatios) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  printRatios();
  return 0;
}

// The main of a benchmark that runs itself again as a child: the child's
// `runChild(kind, argc, argv)`, or in the parent every benchmark and the
// ratio line of the "ratio" counter.
template <class RunChild>
int ChildOrRatioMain(int argc, char **argv, RunChild runChild, const char *what, double goal) {
  if (argc >= 3 && std::strcmp(argv[1], kChildFlag) == 0) {
    return runChild(std::string(argv[2]), argc, argv);
  }
  return RunWithRatio(argc, argv, "ratio", what, goal);
}

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

// A box with the administrator's password kBoxPassword and one volume
// (ext4 on its one disk, a tenth used) at 127.0.0.3.
inline constexpr char kBoxPassword[] = "benchpass";
inline constexpr char kBoxWithOneVolume[] = R"({"boxes": [{
  "name": "bench", "mac": "00:11:22:33:44:03", "ip": "127.0.0.3",
  "netmask": "255.0.0.0", "gateway": "127.0.0.1", "dhcp": false,
  "accounts": [{"user": "admin", "password": "benchpass", "access": "1,1,1,1,1,1"}],
  "disks": [{"device": "sda", "size_gib": 1000}],
  "volumes": [{"volume": 1, "mode": "standard", "file_system": "ext4", "disks": "sda",
               "total_kib": 1048576000, "used_kib": 104857600}]
}]})";

// nas-sim started with `stateJson` for a benchmark; nothing, with the
// benchmark ended, outside a network namespace or when it did not start.
inline std::unique_ptr<NasSimLauncher> StartNasSim(benchmark::State &state,
                                                   const std::string &stateJson) {
  if (!NasSimLauncher::InNetns()) {
    state.SkipWithError("run inside scripts/netns-run: it starts nas-sim on loopback");
    return nullptr;
  }
  auto sim = std::make_unique<NasSimLauncher>();
  if (!sim->Start(stateJson)) {
    state.SkipWithError(sim->Error().c_str());
    return nullptr;
  }
  return sim;
}

// Shows the main window, starts its search and runs the event loop until the
// box list has filled; false when it did not within PumpUntil's limit.
inline bool StartListed(corvesta::CUtilityDlg &window) {
  window.show();
  window.Start();
  return PumpUntil([&] { return window.State() == corvesta::UiState::Listed; });
}

// Looks every `every` for the login dialog as the visible modal window; once
// it is, fills it in as the administrator with kBoxPassword, calls
// `beforeOk()` and presses OK.
template <class BeforeOk>
void AnswerLoginDialog(std::chrono::milliseconds every, BeforeOk beforeOk) {
  auto *timer = new QTimer(qApp);
  timer->setInterval(every);
  QObject::connect(timer, &QTimer::timeout, [timer, beforeOk] {
    auto *dialog = qobject_cast<corvesta::CLoginDialog *>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) {
      return;
    }
    timer->stop();
    timer->deleteLater();
    dialog->UserField()->setText(QStringLiteral("admin"));
    dialog->PasswordField()->setText(QString::fromLatin1(kBoxPassword));
    beforeOk();
    qobject_cast<QAbstractButton *>(dialog->GetDlgItem(corvesta::main_ids::kLoginOk))->click();
  });
  timer->start();
}

// What is measured and its baseline, one value of each per round.
struct PairedSamples {
  std::vector<double> measured;
  std::vector<double> baseline;

  bool Empty() const { return measured.empty(); }
  // The medians as the counters `measuredName` and `baselineName`; nothing
  // when no round ended.
  void SetCounters(benchmark::State &state, const char *measuredName,
                   const char *baselineName) const {
    if (!Empty()) {
      state.counters[measuredName] = Median(measured);
      state.counters[baselineName] = Median(baseline);
    }
  }
  // The same, and the measured median over the baseline's as "ratio".
  void SetCountersAndRatio(benchmark::State &state, const char *measuredName,
                           const char *baselineName) const {
    if (!Empty()) {
      SetCounters(state, measuredName, baselineName);
      state.counters["ratio"] = Median(measured) / Median(baseline);
    }
  }
};

// A benchmark of `Rounds` rounds, each round's time set by the benchmark
// (SetIterationTime), in milliseconds: BENCHMARK(...)->Apply(TimedRounds<N>).
template <int Rounds> void TimedRounds(benchmark::internal::Benchmark *registered) {
  registered->Iterations(Rounds)->UseManualTime()->Unit(benchmark::kMillisecond);
}

// Each iteration `measured()`, then `baseline()`: times in milliseconds,
// negative when a run failed. The first failure ends the benchmark with
// `failure`. The iteration's time is the two together.
template <class Measured, class Baseline>
PairedSamples RunAlternately(benchmark::State &state, Measured measured, Baseline baseline,
                             const char *failure) {
  PairedSamples samples;
  for (auto _ : state) {
    const double first = measured();
    const double second = baseline();
    if (first < 0 || second < 0) {
      state.SkipWithError(failure);
      break;
    }
    samples.measured.push_back(first);
    samples.baseline.push_back(second);
    state.SetIterationTime((first + second) / 1000.0);
  }
  return samples;
}

// Each iteration this program as a "bare" child, then as a "window" child,
// both with their settings in one fresh folder; `value(report)` is what a
// child's report measures, negative when it tells nothing. The window's
// values are the measured ones, the bare window's the baseline. A child that
// did not report within `limit` or told nothing ends the benchmark with
// `failure`. The iteration's time is the two children's times to their
// reports.
template <class Value>
PairedSamples RunChildrenAlternately(benchmark::State &state, std::chrono::milliseconds limit,
                                     Value value, const char *failure) {
  PairedSamples samples;
  const ScopedConfigFolder folder(false);
  if (folder.Path().empty()) {
    state.SkipWithError("cannot make a settings folder");
    return samples;
  }
  for (auto _ : state) {
    const auto bare = RunChild("bare", folder.Path(), limit);
    const auto window = RunChild("window", folder.Path(), limit);
    if (!bare || !window || value(*bare) < 0 || value(*window) < 0) {
      state.SkipWithError(failure);
      break;
    }
    samples.baseline.push_back(value(*bare));
    samples.measured.push_back(value(*window));
    state.SetIterationTime((bare->milliseconds + window->milliseconds) / 1000.0);
  }
  return samples;
}

} // namespace corvesta::bench
