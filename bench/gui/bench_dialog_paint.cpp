// From the click to the first paint of the settings dialog and of the set-IP
// dialog (construction, showing, drawing every control once), each against
// a bare skinned dialog of the same size with the same background, in the
// same run. The two alternate; the ratio of the medians is reported for each
// dialog (goal: at most 2). The message box, with the longest text the
// windows show (the gateway warning in Russian) and its icon and buttons, is
// measured the same way against a bare skinned dialog of its size (goal: at
// most 1.5).
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_dialog_paint

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "../ratio_line.h"
#include "i18n/current_language.h"
#include "i18n/translate.h"
#include "platform/message_box.h"
#include "setup/address_change_plan.h"
#include "ui/main/setting_ip_dialog.h"
#include "ui/main/settings_dialog.h"
#include "ui/skin/gdip_dialog.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/skin_message_dialog.h"

using namespace corvesta;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kOpenings = 200;
double g_settingsRatio = 0;
double g_setIpRatio = 0;
double g_messageRatio = 0;

using Factory = std::function<std::unique_ptr<CGdipDialog>()>;

// Microseconds from construction to the first complete drawing.
double FirstPaint(const Factory &make) {
  const auto start = Clock::now();
  std::unique_ptr<CGdipDialog> dialog = make();
  dialog->show();
  const QPixmap drawn = dialog->grab();
  benchmark::DoNotOptimize(drawn.cacheKey());
  const double micros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
  dialog->hide();
  return micros;
}

Factory Bare(QSize size, int background) {
  return [size, background] {
    auto dialog = std::make_unique<CGdipDialog>();
    dialog->setFixedSize(size);
    dialog->SetBackgroundImage(background);
    dialog->SetWindowOutline(CGdipDialog::RoundedOutline(size, 10));
    return dialog;
  };
}

double Compare(benchmark::State &state, const Factory &subject, const Factory &bare) {
  std::vector<double> subjectTimes, bareTimes;
  bool subjectFirst = true;
  for (auto _ : state) {
    const double first = subjectFirst ? FirstPaint(subject) : FirstPaint(bare);
    const double second = subjectFirst ? FirstPaint(bare) : FirstPaint(subject);
    subjectTimes.push_back(subjectFirst ? first : second);
    bareTimes.push_back(subjectFirst ? second : first);
    state.SetIterationTime((first + second) / 1e6);
    subjectFirst = !subjectFirst;
  }
  const double ratio = bench::Median(subjectTimes) / bench::Median(bareTimes);
  state.counters["dialog_median_us"] = bench::Median(subjectTimes);
  state.counters["bare_median_us"] = bench::Median(bareTimes);
  state.counters["ratio"] = ratio;
  return ratio;
}

void BM_SettingsDialog(benchmark::State &state) {
  g_settingsRatio = Compare(
      state, [] { return std::make_unique<CSettingsDialog>(); },
      Bare(CSettingsDialog().size(), skin::kWizardBackground));
}
BENCHMARK(BM_SettingsDialog)->Iterations(kOpenings)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_SetIpDialog(benchmark::State &state) {
  // No box listed: the fields stay empty, everything else is built and drawn.
  g_setIpRatio = Compare(
      state, [] { return std::make_unique<CSettingIpDialog>(-1); },
      Bare(CSettingIpDialog(-1).size(), skin::kLoginBackground));
}
BENCHMARK(BM_SetIpDialog)->Iterations(kOpenings)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_MessageDialog(benchmark::State &state) {
  SelectLanguage(4);
  MessageBoxRequest request;
  request.text = Translate(kGatewayQuestion);
  request.caption = Translate(u"Warning");
  request.buttons = MessageBoxButtons::YesNo;
  request.icon = MessageBoxIcon::Warning;
  const QSize size = CSkinMessageDialog(request, nullptr).size();
  g_messageRatio = Compare(
      state, [&request] { return std::make_unique<CSkinMessageDialog>(request, nullptr); },
      Bare(size, skin::kLoginBackground));
  ClearCurrentLanguage();
}
BENCHMARK(BM_MessageDialog)->Iterations(kOpenings)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (g_settingsRatio > 0) {
    bench::PrintRatio("settings dialog first paint / bare skinned dialog (median)", g_settingsRatio,
                      2.0);
  }
  if (g_setIpRatio > 0) {
    bench::PrintRatio("set-IP dialog first paint / bare skinned dialog (median)", g_setIpRatio,
                      2.0);
  }
  if (g_messageRatio > 0) {
    bench::PrintRatio("message dialog first paint / bare skinned dialog (median)", g_messageRatio,
                      1.5);
  }
  return 0;
}
