// The main window's resident memory after its start and one login against
// nas-sim (the panel with the volume gauges shown), against a bare Qt window
// program, in the same run. Both are this program started again as a child
// that reports its resident set size (VmRSS) once its window is in that
// state; the children alternate.
//
// Run it inside a network namespace, where it starts nas-sim itself:
//   scripts/netns-run env QT_QPA_PLATFORM=offscreen build/bench/gui/bench_window_memory

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "../nas_sim_launcher.h"
#include "../ratio_line.h"
#include "app/language_choice.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "child_process.h"
#include "ui/main/login_dialog.h"
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

const char kState[] = R"({"boxes": [{
  "name": "bench", "mac": "00:11:22:33:44:03", "ip": "127.0.0.3",
  "netmask": "255.0.0.0", "gateway": "127.0.0.1", "dhcp": false,
  "accounts": [{"user": "admin", "password": "benchpass", "access": "1,1,1,1,1,1"}],
  "disks": [{"device": "sda", "size_gib": 1000}],
  "volumes": [{"volume": 1, "mode": "standard", "file_system": "ext4", "disks": "sda",
               "total_kib": 1048576000, "used_kib": 104857600}]
}]})";

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

void AnswerLoginDialog() {
  WhenReady(
      [] {
        auto *dialog = qobject_cast<CLoginDialog *>(QApplication::activeModalWidget());
        return dialog != nullptr && dialog->isVisible();
      },
      [] {
        auto *dialog = qobject_cast<CLoginDialog *>(QApplication::activeModalWidget());
        dialog->UserField()->setText(QStringLiteral("admin"));
        dialog->PasswordField()->setText(QStringLiteral("benchpass"));
        qobject_cast<QAbstractButton *>(dialog->GetDlgItem(main_ids::kLoginOk))->click();
      });
}

int RunAsChild(const std::string &kind, int argc, char **argv) {
  QApplication application(argc, argv);
  if (kind == "window") {
    ChooseLanguageFromSettings();
    InstallQtPlatformServices();
    settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
    CUtilityDlg window;
    window.show();
    window.Start();
    WhenReady([&] { return window.State() == UiState::Listed; },
              [&] {
                AnswerLoginDialog();
                // Connect runs the login dialog in a loop of its own: start
                // it once this slot has returned.
                QTimer::singleShot(0, [&] { window.OnCommand(main_ids::kConnect); });
                WhenReady([&] { return window.InfoPanel()->isVisible(); }, ReportResidentSoon);
              });
    return QApplication::exec();
  }
  QWidget window;
  window.resize(820, 560);
  window.show();
  ReportResidentSoon();
  return QApplication::exec();
}

void BM_MainWindowMemoryAgainstBareWindow(benchmark::State &state) {
  if (!NasSimLauncher::InNetns()) {
    state.SkipWithError("run inside scripts/netns-run: it starts nas-sim on loopback");
    return;
  }
  NasSimLauncher sim;
  if (!sim.Start(kState)) {
    state.SkipWithError(sim.Error().c_str());
    return;
  }
  const ScopedConfigFolder folder(false);
  if (folder.Path().empty()) {
    state.SkipWithError("cannot make a settings folder");
    return;
  }
  const std::string &config = folder.Path();
  std::vector<double> bare;
  std::vector<double> window;
  for (auto _ : state) {
    const auto plain = RunChild("bare", config, kChildLimit);
    const auto main = RunChild("window", config, kChildLimit);
    if (!plain || !main || std::atol(plain->line.c_str()) <= 0 ||
        std::atol(main->line.c_str()) <= 0) {
      state.SkipWithError("a child did not report its memory");
      break;
    }
    bare.push_back(std::atof(plain->line.c_str()) / 1024.0);
    window.push_back(std::atof(main->line.c_str()) / 1024.0);
    state.SetIterationTime((plain->milliseconds + main->milliseconds) / 1000.0);
  }
  if (window.empty()) {
    return;
  }
  state.counters["bare_MiB"] = Median(bare);
  state.counters["window_MiB"] = Median(window);
  state.counters["ratio"] = Median(window) / Median(bare);
}
BENCHMARK(BM_MainWindowMemoryAgainstBareWindow)
    ->Iterations(kRounds)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
  if (argc >= 3 && std::strcmp(argv[1], kChildFlag) == 0) {
    return RunAsChild(argv[2], argc, argv);
  }
  return RunWithRatio(argc, argv, "ratio",
                      "main window memory after a login / bare Qt window (median)", 2.0);
}
