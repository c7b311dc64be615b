// OK in the login dialog to the information panel with its gauges, against
// the same three requests (credential check, login, volume list) run by the
// core's login sequence alone, alternating, in the same run, against
// nas-sim. The window's time runs from the click on OK to the panel being
// shown; the core's from the start of the sequence to its end. Each is
// followed by a logout that is not timed.
//
// Run it inside a network namespace, where it starts nas-sim itself:
//   scripts/netns-run env QT_QPA_PLATFORM=offscreen build/bench/gui/bench_login_panel

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "../nas_sim_launcher.h"
#include "../ratio_line.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "platform/message_queue_target.h"
#include "setup/login_sequence.h"
#include "setup/logout_sequence.h"
#include "setup/queue_sequence_host.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/utility_dlg.h"
#include "ui/platform/qt_services.h"
#include "window_bench_support.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace corvesta;
using corvesta::bench::PumpFor;
using corvesta::bench::PumpUntil;

constexpr int kRounds = 10;
constexpr auto kLimit = std::chrono::seconds(30);

const char kState[] = R"({"boxes": [{
  "name": "bench", "mac": "00:11:22:33:44:03", "ip": "127.0.0.3",
  "netmask": "255.0.0.0", "gateway": "127.0.0.1", "dhcp": false,
  "accounts": [{"user": "admin", "password": "benchpass", "access": "1,1,1,1,1,1"}],
  "disks": [{"device": "sda", "size_gib": 1000}],
  "volumes": [{"volume": 1, "mode": "standard", "file_system": "ext4", "disks": "sda",
               "total_kib": 1048576000, "used_kib": 104857600}]
}]})";

// Fills the login dialog once it is the modal window and presses OK,
// noting when.
void AnswerLoginDialog(Clock::time_point &okAt) {
  auto *timer = new QTimer(qApp);
  timer->setInterval(1);
  QObject::connect(timer, &QTimer::timeout, [timer, &okAt] {
    auto *dialog = qobject_cast<CLoginDialog *>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) {
      return;
    }
    timer->stop();
    timer->deleteLater();
    dialog->UserField()->setText(QStringLiteral("admin"));
    dialog->PasswordField()->setText(QStringLiteral("benchpass"));
    okAt = Clock::now();
    qobject_cast<QAbstractButton *>(dialog->GetDlgItem(main_ids::kLoginOk))->click();
  });
  timer->start();
}

class QuietObserver : public LoginObserver {
public:
  void OnLoginFinished(const LoginOutcome &outcome) override { result = outcome.result; }
  LoginResult result = LoginResult::None;
};

// The core's three requests; milliseconds, negative when the login failed.
double TimedCoreLogin() {
  MessageQueueTarget target;
  QueueSequenceHost host(target);
  QuietObserver observer;
  LoginSequence login(host, observer);
  LoginRequest request;
  request.deviceIndex = 0;
  request.userName = u"admin";
  request.password = u"benchpass";
  const auto start = Clock::now();
  const bool ended = login.Start(request) && host.Run(login, kLimit, [](const Message &) {});
  const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  LogoutSequence logout(host);
  if (logout.Start(0, login.LoggedIn())) {
    host.Run(logout, kLimit, [](const Message &) {});
  }
  return ended && observer.result == LoginResult::Connected ? elapsed : -1;
}

// The window's Connect; milliseconds from OK to the panel, negative when it
// did not show.
double TimedWindowLogin(CUtilityDlg &window) {
  Clock::time_point okAt{};
  AnswerLoginDialog(okAt);
  window.OnCommand(main_ids::kConnect);
  const bool shown = PumpUntil([&] { return window.InfoPanel()->isVisible(); });
  const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - okAt).count();
  window.OnCommand(main_ids::kLogout);
  PumpFor(std::chrono::milliseconds(100)); // the logout goes out
  return shown && okAt != Clock::time_point{} ? elapsed : -1;
}

using corvesta::bench::Median;

void BM_LoginToPanelAgainstCoreRequests(benchmark::State &state) {
  if (!corvesta::bench::NasSimLauncher::InNetns()) {
    state.SkipWithError("run inside scripts/netns-run: it starts nas-sim on loopback");
    return;
  }
  corvesta::bench::NasSimLauncher sim;
  if (!sim.Start(kState)) {
    state.SkipWithError(sim.Error().c_str());
    return;
  }
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
  CUtilityDlg window;
  window.show();
  window.Start();
  if (!PumpUntil([&] { return window.State() == UiState::Listed; })) {
    state.SkipWithError("the box was not listed");
    return;
  }
  std::vector<double> windowTimes;
  std::vector<double> coreTimes;
  for (auto _ : state) {
    const double shown = TimedWindowLogin(window);
    const double core = TimedCoreLogin();
    if (shown < 0 || core < 0) {
      state.SkipWithError("a login failed");
      break;
    }
    windowTimes.push_back(shown);
    coreTimes.push_back(core);
    state.SetIterationTime((shown + core) / 1000.0);
  }
  if (windowTimes.empty()) {
    return;
  }
  state.counters["core_ms"] = Median(coreTimes);
  state.counters["window_ms"] = Median(windowTimes);
  state.counters["ratio"] = Median(windowTimes) / Median(coreTimes);
}
BENCHMARK(BM_LoginToPanelAgainstCoreRequests)
    ->Iterations(kRounds)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
  const corvesta::bench::ScopedConfigFolder config(true);
  QApplication application(argc, argv);
  InstallQtPlatformServices();
  const int status = corvesta::bench::RunWithRatio(
      argc, argv, "ratio", "login OK to panel / core login requests (median)", 1.3);
  return status;
}
