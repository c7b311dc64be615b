// The idle logout's activity filter: 100,000 synthetic key and mouse events
// (key releases that count, key presses that do not, left-button releases,
// mouse motion) delivered to a plain widget of a skinned window, which passes
// them on to the window, with the filter
// installed, against the same events without it, in the same run. Batches
// of 1,000 events alternate between the two; the ratio of the median batch
// times is reported (goal: at most 1.1).
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_idle_filter

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <chrono>
#include <memory>
#include <vector>

#include "../ratio_line.h"
#include "ui/main/idle_logout.h"
#include "ui/skin/gdip_dialog.h"

using namespace corvesta;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kEvents = 100000;
constexpr int kBatch = 1000;
constexpr int kBatches = kEvents / kBatch;
double g_ratio = 0;

struct Window {
  CGdipDialog dialog;
  QWidget *field = new QWidget(&dialog);
  Window() {
    dialog.resize(300, 200);
    field->setGeometry(10, 10, 200, 24);
    dialog.show();
  }
};

// One batch: a quarter each of counted key releases, key presses, left
// releases and moves. Returns its time in microseconds.
double Batch(QWidget *target) {
  const QPointF at(5, 5);
  const QPointF global = target->mapToGlobal(at);
  const auto start = Clock::now();
  for (int i = 0; i < kBatch / 4; ++i) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_K, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_K, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    QMouseEvent move(QEvent::MouseMove, at, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QMouseEvent up(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                   Qt::NoModifier);
    QApplication::sendEvent(target, &up);
  }
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

void BM_FilterAgainstNone(benchmark::State &state) {
  Window window;
  ActivityFilter filter(&window.dialog);
  std::vector<double> with, without;
  bool filteredFirst = true;
  for (auto _ : state) {
    double timed[2];
    for (int pass = 0; pass < 2; ++pass) {
      const bool filtered = (pass == 0) == filteredFirst;
      if (filtered) {
        filter.Install();
      }
      timed[filtered ? 0 : 1] = Batch(window.field);
      filter.Remove();
    }
    with.push_back(timed[0]);
    without.push_back(timed[1]);
    state.SetIterationTime((timed[0] + timed[1]) / 1e6);
    filteredFirst = !filteredFirst;
  }
  state.counters["with_filter_us_per_1000"] = bench::Median(with);
  state.counters["without_us_per_1000"] = bench::Median(without);
  g_ratio = bench::Median(with) / bench::Median(without);
  state.counters["ratio"] = g_ratio;
}
BENCHMARK(BM_FilterAgainstNone)
    ->Iterations(kBatches)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
  QApplication application(argc, argv);
  return bench::RunWithRatio(argc, argv, "ratio",
                             "events with the activity filter / without (median)", 1.1);
}
