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

#include <chrono>
#include <string>
#include <vector>

#include "../nas_sim_launcher.h"
#include "../ratio_line.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "platform/message_queue_target.h"
#include "platform/text_codec.h"
#include "setup/login_sequence.h"
#include "setup/logout_sequence.h"
#include "setup/queue_sequence_host.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/utility_dlg.h"
#include "window_bench_support.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace corvesta;
using namespace corvesta::bench;

constexpr int kRounds = 10;
constexpr auto kLimit = std::chrono::seconds(30);

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
  request.password = Utf8ToUtf16(kBoxPassword);
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
  AnswerLoginDialog(std::chrono::milliseconds(1), [&okAt] { okAt = Clock::now(); });
  window.OnCommand(main_ids::kConnect);
  const bool shown = PumpUntil([&] { return window.InfoPanel()->isVisible(); });
  const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - okAt).count();
  window.OnCommand(main_ids::kLogout);
  PumpFor(std::chrono::milliseconds(100)); // the logout goes out
  return shown && okAt != Clock::time_point{} ? elapsed : -1;
}

void BM_LoginToPanelAgainstCoreRequests(benchmark::State &state) {
  const auto sim = corvesta::bench::StartNasSim(state, kBoxWithOneVolume);
  if (!sim) {
    return;
  }
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
  CUtilityDlg window;
  if (!StartListed(window)) {
    state.SkipWithError("the box was not listed");
    return;
  }
  RunAlternately(
      state, [&] { return TimedWindowLogin(window); }, TimedCoreLogin, "a login failed")
      .SetCountersAndRatio(state, "window_ms", "core_ms");
}
BENCHMARK(BM_LoginToPanelAgainstCoreRequests)->Apply(TimedRounds<kRounds>);

} // namespace

int main(int argc, char **argv) {
  const corvesta::bench::WindowBenchApplication application(argc, argv);
  return corvesta::bench::RunWithRatio(argc, argv, "ratio",
                                       "login OK to panel / core login requests (median)", 1.3);
}
