// Folder in the main window, logged in to a simulated box with 26 shares,
// until the grid holds every share and has been drawn, against the share
// list request alone (start, worker, web exchange, parse, result message),
// both against nas-sim in the same run. The two alternate; the ratio of the
// medians is reported (goal: at most 1.3).
//
// Run it inside a network namespace, where it starts nas-sim itself:
//   QT_QPA_PLATFORM=offscreen scripts/netns-run build/bench/bench_folder_view

#include <benchmark/benchmark.h>

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
#include "nas/http/command_set.h"
#include "nas/query.h"
#include "nas/take_query.h"
#include "platform/message_queue_target.h"
#include "ui/main/login_dialog.h"
#include "ui/main/main_ids.h"
#include "ui/main/nas_info_dialog.h"
#include "ui/main/utility_dlg.h"
#include "ui/skin/folder_list_ctrl.h"
#include "ui/skin/gdip_combo_box.h"
#include "window_bench_support.h"
#include "worker/private_messages.h"

using namespace corvesta;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRounds = 200;
constexpr int kShares = 26;
constexpr auto kLimit = std::chrono::seconds(20);
double g_ratio = 0;

std::string State() {
  std::string shares;
  for (int i = 1; i <= kShares; ++i) {
    shares += (i > 1 ? "," : "") + std::string(R"({"name": "Share)") + std::to_string(i) + "\"}";
  }
  return R"({"boxes": [{
    "name": "bench", "mac": "00:11:22:33:44:31", "ip": "127.0.0.31",
    "netmask": "255.0.0.0", "gateway": "127.0.0.1", "dhcp": false,
    "accounts": [{"user": "admin", "password": "secret", "access": "1,1,1,1,1,1"}],
    "disks": [{"device": "sda", "size_gib": 1000}],
    "volumes": [{"volume": 1, "mode": "standard", "file_system": "ext4", "disks": "sda",
                 "total_kib": 1048576000, "used_kib": 104857600}],
    "shares": [)" +
         shares + "]}]}";
}

// Runs the event loop until `done` holds; false after the limit.
// The loop sleeps until an event comes; a slow timer wakes it to check the
// limit.
bool SpinUntil(const std::function<bool()> &done) {
  const auto deadline = Clock::now() + kLimit;
  QTimer wake;
  wake.start(50);
  while (!done()) {
    if (Clock::now() > deadline) {
      return false;
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

// Logs the window in to the box as admin, answering the login dialog.
bool LogIn(CUtilityDlg &window) {
  window.show();
  window.Start();
  if (!SpinUntil([&] { return window.State() == UiState::Listed; })) {
    return false;
  }
  QTimer answer;
  answer.setInterval(5);
  QObject::connect(&answer, &QTimer::timeout, [&answer] {
    if (auto *dialog = qobject_cast<CLoginDialog *>(QApplication::activeModalWidget())) {
      answer.stop();
      dialog->UserField()->setText(QStringLiteral("admin"));
      dialog->PasswordField()->setText(QStringLiteral("secret"));
      dialog->GetDlgItemAs<QAbstractButton>(main_ids::kLoginOk)->click();
    }
  });
  answer.start();
  window.OnCommand(main_ids::kConnect);
  return SpinUntil([&] { return window.LoggedIn() && window.InfoPanel()->isVisible(); });
}

std::optional<double> TimedFolder(CUtilityDlg &window) {
  CFolderListCtrl *folders = window.InfoPanel()->FolderList();
  const auto start = Clock::now();
  window.OnCommand(main_ids::kFolder);
  if (!SpinUntil([&] { return folders->FolderCount() == kShares; })) {
    return std::nullopt;
  }
  folders->repaint();
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

std::optional<double> TimedRequest(MessageQueueTarget &target) {
  const auto start = Clock::now();
  if (StartReadShareList(target.Handle(), 0, 1) == 0) {
    return std::nullopt;
  }
  const std::optional<Message> result = target.WaitForMessage(WM_QUERY_RESULT, kLimit);
  if (!result || TakeQuery(*result) == nullptr) {
    return std::nullopt;
  }
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

void BM_FolderAgainstRequest(benchmark::State &state) {
  if (!bench::NasSimLauncher::InNetns()) {
    state.SkipWithError("run inside scripts/netns-run: it starts nas-sim on loopback");
    return;
  }
  bench::NasSimLauncher sim;
  if (!sim.Start(State())) {
    state.SkipWithError(sim.Error().c_str());
    return;
  }
  settings::Write(settings::kSectionUsed, settings::kKeyFirstOpen, u"FALSE");
  CUtilityDlg window;
  if (!LogIn(window)) {
    state.SkipWithError("the login did not finish");
    return;
  }
  MessageQueueTarget target;
  std::vector<double> folder, request;
  bool folderFirst = true;
  for (auto _ : state) {
    const std::optional<double> first = folderFirst ? TimedFolder(window) : TimedRequest(target);
    const std::optional<double> second = folderFirst ? TimedRequest(target) : TimedFolder(window);
    if (!first || !second) {
      state.SkipWithError("a share list failed");
      return;
    }
    folder.push_back(folderFirst ? *first : *second);
    request.push_back(folderFirst ? *second : *first);
    state.SetIterationTime((*first + *second) / 1e6);
    folderFirst = !folderFirst;
  }
  g_ratio = bench::Median(folder) / bench::Median(request);
  state.counters["folder_median_us"] = bench::Median(folder);
  state.counters["request_median_us"] = bench::Median(request);
  state.counters["ratio"] = g_ratio;
}
BENCHMARK(BM_FolderAgainstRequest)
    ->Iterations(kRounds)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
  const bench::ScopedConfigFolder config(true);
  if (config.Path().empty()) {
    return 1;
  }
  QApplication application(argc, argv);
  const int status = bench::RunWithRatio(
      argc, argv, "ratio", "Folder to filled grid / share list request (median)", 1.3);
  return status;
}
