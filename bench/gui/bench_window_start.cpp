// From process start to the first paint of the main window, against a bare
// Qt window program, in the same run. Both are this program started again
// as a child: one builds the main window as the program does (language,
// platform services, the window, the discovery it starts once shown), the
// other a plain QWidget of the same size. Each child reports once its window
// has painted; the time is taken from the spawn to that report, so what
// happens at exit is not counted.
//
// The main window starts a discovery: run it inside a network namespace.
//   scripts/netns-run env QT_QPA_PLATFORM=offscreen build/bench/gui/bench_window_start

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <string>

#include "../nas_sim_launcher.h"
#include "../ratio_line.h"
#include "app/language_choice.h"
#include "ui/main/utility_dlg.h"
#include "ui/platform/qt_services.h"
#include "window_bench_support.h"

namespace {

using namespace corvesta::bench;

constexpr int kRounds = 10;
// A child that has not painted by then has failed.
constexpr auto kChildLimit = std::chrono::seconds(30);

// Tells the parent once `window` has painted for the first time.
class FirstPaintSignal : public QObject {
public:
  explicit FirstPaintSignal(QWidget &window) { window.installEventFilter(this); }

protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::Paint && !m_told) {
      m_told = true;
      // After this paint event has been drawn and the frame flushed.
      QTimer::singleShot(0, [] {
        ReportToParent("painted");
        std::_Exit(0);
      });
    }
    return QObject::eventFilter(watched, event);
  }

private:
  bool m_told = false;
};

int RunAsChild(const std::string &kind, int argc, char **argv) {
  QApplication application(argc, argv);
  if (kind == "window") {
    corvesta::ChooseLanguageFromSettings();
    corvesta::InstallQtPlatformServices();
    corvesta::CUtilityDlg window;
    FirstPaintSignal signal(window);
    window.show();
    window.Start();
    return QApplication::exec();
  }
  QWidget window;
  window.resize(820, 560);
  FirstPaintSignal signal(window);
  window.show();
  return QApplication::exec();
}

void BM_MainWindowFirstPaintAgainstBareWindow(benchmark::State &state) {
  if (!NasSimLauncher::InNetns()) {
    state.SkipWithError("run inside scripts/netns-run: the main window starts a discovery");
    return;
  }
  RunChildrenAlternately(
      state, kChildLimit, [](const ChildReport &report) { return report.milliseconds; },
      "a child did not paint its window")
      .SetCountersAndRatio(state, "window_ms", "bare_ms");
}
BENCHMARK(BM_MainWindowFirstPaintAgainstBareWindow)->Apply(TimedRounds<kRounds>);

} // namespace

int main(int argc, char **argv) {
  return ChildOrRatioMain(argc, argv, RunAsChild,
                          "main window first paint / bare Qt window (median)", 1.5);
}
