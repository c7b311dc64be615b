// From process start to the first paint of the main window, against a bare
// Qt window program, in the same run. Both are this program started again
// as a child: one builds the main window as the program does (language,
// platform services, the window, the discovery it starts once shown), the
// other a plain QWidget of the same size. Each child writes one byte to a
// pipe once its window has painted; the time is taken from the spawn to
// that byte, so what happens at exit is not counted.
//
// The main window starts a discovery: run it inside a network namespace.
//   scripts/netns-run env QT_QPA_PLATFORM=offscreen build/bench/gui/bench_window_start

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../nas_sim_launcher.h"
#include "../ratio_line.h"
#include "app/language_choice.h"
#include "ui/main/utility_dlg.h"
#include "ui/platform/qt_services.h"

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 10;
constexpr char kChildFlag[] = "--first-paint-child";
// A child that has not painted by then has failed.
constexpr int kChildLimitMs = 30000;

// Tells the parent once `window` has painted for the first time.
class FirstPaintSignal : public QObject {
public:
  FirstPaintSignal(QWidget &window, int fd) : m_fd(fd) { window.installEventFilter(this); }

protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::Paint && !m_told) {
      m_told = true;
      // After this paint event has been drawn and the frame flushed.
      QTimer::singleShot(0, [fd = m_fd] {
        const char byte = 1;
        static_cast<void>(::write(fd, &byte, 1));
        std::_Exit(0);
      });
    }
    return QObject::eventFilter(watched, event);
  }

private:
  int m_fd;
  bool m_told = false;
};

int RunChild(const std::string &kind, int fd, int argc, char **argv) {
  QApplication application(argc, argv);
  if (kind == "window") {
    corvesta::ChooseLanguageFromSettings();
    corvesta::InstallQtPlatformServices();
    corvesta::CUtilityDlg window;
    FirstPaintSignal signal(window, fd);
    window.show();
    window.Start();
    return QApplication::exec();
  }
  QWidget window;
  window.resize(820, 560);
  FirstPaintSignal signal(window, fd);
  window.show();
  return QApplication::exec();
}

// Starts this program as a child of `kind`; milliseconds from the spawn to
// its first paint, negative when it failed.
double TimedChild(const std::string &self, const std::string &kind,
                  const std::string &configFolder) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
    return -1;
  }
  std::vector<std::string> environment;
  for (char **entry = environ; *entry != nullptr; ++entry) {
    if (std::strncmp(*entry, "XDG_CONFIG_HOME=", 16) != 0) {
      environment.emplace_back(*entry);
    }
  }
  environment.push_back("XDG_CONFIG_HOME=" + configFolder);
  std::vector<char *> envp;
  for (std::string &text : environment) {
    envp.push_back(text.data());
  }
  envp.push_back(nullptr);
  std::vector<std::string> words{self, kChildFlag, kind, "3"};
  std::vector<char *> argv;
  for (std::string &word : words) {
    argv.push_back(word.data());
  }
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 3);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = Clock::now();
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  if (spawned != 0) {
    ::close(pipeFds[0]);
    return -1;
  }
  pollfd ready{pipeFds[0], POLLIN, 0};
  char byte = 0;
  const bool painted = ::poll(&ready, 1, kChildLimitMs) == 1 && ::read(pipeFds[0], &byte, 1) == 1;
  const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  ::close(pipeFds[0]);
  if (!painted) {
    ::kill(pid, SIGKILL);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return painted ? elapsed : -1;
}

using corvesta::bench::Median;

std::string g_self;

void BM_MainWindowFirstPaintAgainstBareWindow(benchmark::State &state) {
  if (!corvesta::bench::NasSimLauncher::InNetns()) {
    state.SkipWithError("run inside scripts/netns-run: the main window starts a discovery");
    return;
  }
  char pattern[] = "/tmp/corvesta-bench-start-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) {
    state.SkipWithError("cannot make a settings folder");
    return;
  }
  const std::string config = pattern;
  std::vector<double> bare;
  std::vector<double> window;
  for (auto _ : state) {
    const double plain = TimedChild(g_self, "bare", config);
    const double main = TimedChild(g_self, "window", config);
    if (plain < 0 || main < 0) {
      state.SkipWithError("a child did not paint its window");
      break;
    }
    bare.push_back(plain);
    window.push_back(main);
    state.SetIterationTime((plain + main) / 1000.0);
  }
  std::system(("rm -rf " + config).c_str());
  if (window.empty()) {
    return;
  }
  state.counters["bare_ms"] = Median(bare);
  state.counters["window_ms"] = Median(window);
  state.counters["ratio"] = Median(window) / Median(bare);
}
BENCHMARK(BM_MainWindowFirstPaintAgainstBareWindow)
    ->Iterations(kRounds)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
  if (argc >= 4 && std::strcmp(argv[1], kChildFlag) == 0) {
    return RunChild(argv[2], std::atoi(argv[3]), argc, argv);
  }
  g_self = "/proc/self/exe";
  char path[4096];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length > 0) {
    g_self.assign(path, static_cast<std::size_t>(length));
  }
  return corvesta::bench::RunWithRatio(argc, argv, "ratio",
                                       "main window first paint / bare Qt window (median)", 1.5);
}
