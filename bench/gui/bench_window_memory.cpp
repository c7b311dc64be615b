// The main window's resident memory after its start and one login against
// nas-sim (the panel with the volume gauges shown), against a bare Qt window
// program, in the same run. Both are this program started again as a child
// that reports its resident set size (VmRSS) once its window is in that
// state; the children alternate.
//
// Run it inside a network namespace, where it starts nas-sim itself:
//   scripts/netns-run env QT_QPA_PLATFORM=offscreen build/bench/gui/bench_window_memory

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "../nas_sim_launcher.h"
#include "../ratio_line.h"
#include "app/language_choice.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/utility_dlg.h"
#include "ui/platform/qt_services.h"
#include "window_bench_support.h"

namespace {

using namespace corvesta;
using namespace corvesta::bench;

constexpr int kRounds = 5;
constexpr auto kChildLimit = std::chrono::seconds(60);

// Resident set size of this process in KiB, 0 when unknown.
long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word) {
    if (word == "VmRSS:") {
      long kib = 0;
      status >> kib;
      return kib;
    }
  }
  return 0;
}

// After the paints the state asks for have run: the resident size.
void ReportResidentSoon() {
  QTimer::singleShot(200, [] {
    ReportToParent(std::to_string(ResidentKiB()));
    std::_Exit(0);
  });
}

// Polls every 10 ms until `done`, then runs `then`.
template <class Done, class Then> void WhenReady(Done done, Then then) {
  auto *timer = new QTimer(qApp);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, done, then] {
    if (done()) {
      timer->stop();
      timer->deleteLater();
      then();
    }
  });
  timer->start();
}

int RunAsChild(const std::string &kind, int argc, char **argv) {
  QApplication application(argc, argv);
  if (kind == "window") {
    ChooseLanguageFromSettings();
    InstallQtPlatformServices();
    settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
    CUtilityDlg window;
    if (!StartListed(window)) {
      return 1;
    }
    AnswerLoginDialog(std::chrono::milliseconds(10), [] {});
    // Connect runs the login dialog in a loop of its own: it starts from the
    // application's loop.
    QTimer::singleShot(0, [&] { window.OnCommand(main_ids::kConnect); });
    WhenReady([&] { return window.InfoPanel()->isVisible(); }, ReportResidentSoon);
    return QApplication::exec();
  }
  QWidget window;
  window.resize(820, 560);
  window.show();
  ReportResidentSoon();
  return QApplication::exec();
}

void BM_MainWindowMemoryAgainstBareWindow(benchmark::State &state) {
  const auto sim = StartNasSim(state, kBoxWithOneVolume);
  if (!sim) {
    return;
  }
  // A child's report is its resident size in KiB.
  RunChildrenAlternately(
      state, kChildLimit,
      [](const ChildReport &report) {
        return std::atol(report.line.c_str()) > 0 ? std::atof(report.line.c_str()) / 1024.0 : -1;
      },
      "a child did not report its memory")
      .SetCountersAndRatio(state, "window_MiB", "bare_MiB");
}
BENCHMARK(BM_MainWindowMemoryAgainstBareWindow)->Apply(TimedRounds<kRounds>);

} // namespace

int main(int argc, char **argv) {
  return ChildOrRatioMain(argc, argv, RunAsChild,
                          "main window memory after a login / bare Qt window (median)", 2.0);
}
