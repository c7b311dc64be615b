#pragma once
// A benchmark that measures a fresh process runs itself again as a child:
//   <program> --bench-child KIND
// The child reports over descriptor 3 (one line of text) and the parent
// times the spawn to that line, or reads what the line says.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

extern char **environ;

namespace corvesta::bench {

inline constexpr char kChildFlag[] = "--bench-child";
inline constexpr int kReportFd = 3;

struct ChildReport {
  double milliseconds = 0; // from the spawn to the report
  std::string line;        // what the child reported, without the line end
};

// This program's own path, for starting it again.
inline std::string OwnPath() {
  char path[4096];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

// In the child: reports `line` to the parent.
inline void ReportToParent(const std::string &line) {
  const std::string text = line + "\n";
  static_cast<void>(::write(kReportFd, text.data(), text.size()));
}

// Starts this program as a child of `kind` with XDG_CONFIG_HOME set to
// `configFolder`; its report, or nothing when it reported nothing within
// `limit`. The child is ended once it has reported.
inline std::optional<ChildReport> RunChild(const std::string &kind, const std::string &configFolder,
                                           std::chrono::milliseconds limit) {
  using Clock = std::chrono::steady_clock;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    return std::nullopt;
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
  std::vector<std::string> words{OwnPath(), kChildFlag, kind};
  std::vector<char *> argv;
  for (std::string &word : words) {
    argv.push_back(word.data());
  }
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], kReportFd);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = Clock::now();
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  if (spawned != 0) {
    ::close(fds[0]);
    return std::nullopt;
  }
  std::string line;
  const auto end = start + limit;
  bool complete = false;
  while (!complete) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    pollfd ready{fds[0], POLLIN, 0};
    if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) != 1) {
      break;
    }
    char buffer[256];
    const ssize_t got = ::read(fds[0], buffer, sizeof buffer);
    if (got <= 0) {
      break;
    }
    line.append(buffer, static_cast<std::size_t>(got));
    complete = line.find('\n') != std::string::npos;
  }
  const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  ::close(fds[0]);
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!complete) {
    return std::nullopt;
  }
  line.erase(line.find('\n'));
  return ChildReport{elapsed, line};
}

} // namespace corvesta::bench
