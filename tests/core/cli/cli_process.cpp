#include "cli_process.h"

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>

extern char **environ;

namespace corvesta::test {

namespace {

using Clock = std::chrono::steady_clock;

struct Pipe {
  int read = -1;
  int write = -1;
  bool Open() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
      return false;
    }
    read = fds[0];
    write = fds[1];
    return true;
  }
  static void Close(int &fd) {
    if (fd >= 0) {
      ::close(fd);
      fd = -1;
    }
  }
  ~Pipe() {
    Close(read);
    Close(write);
  }
};

// A pseudo-terminal in place of a pipe: the child writes to the terminal
// end, the test reads the other. Its end of file reads as an error (EIO).
bool OpenTerminal(Pipe &pipe) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) {
    return false;
  }
  pipe.read = master;
  const char *name =
      ::grantpt(master) == 0 && ::unlockpt(master) == 0 ? ::ptsname(master) : nullptr;
  pipe.write = name != nullptr ? ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC) : -1;
  return pipe.write >= 0;
}

std::vector<std::string> Environment(const std::map<std::string, std::string> &extra) {
  std::vector<std::string> env;
  for (char **entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const std::string name = text.substr(0, text.find('='));
    if (!extra.contains(name)) {
      env.push_back(text);
    }
  }
  for (const auto &[name, value] : extra) {
    env.push_back(name + "=" + value);
  }
  return env;
}

} // namespace

CliRun RunCli(const CliCall &call) {
  CliRun run;
  Pipe in, out, err;
  if (!in.Open() || !out.Open() || !(call.errorOnTerminal ? OpenTerminal(err) : err.Open())) {
    run.err = "cannot create pipes";
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in.read, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out.write, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err.write, STDERR_FILENO);

  std::vector<std::string> args{CORVESTA_CLI_PATH};
  args.insert(args.end(), call.args.begin(), call.args.end());
  std::vector<char *> argv;
  for (std::string &arg : args) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);
  std::vector<std::string> env = Environment(call.env);
  std::vector<char *> envp;
  for (std::string &entry : env) {
    envp.push_back(entry.data());
  }
  envp.push_back(nullptr);

  pid_t pid = 0;
  const int spawned =
      ::posix_spawn(&pid, CORVESTA_CLI_PATH, &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    run.err = std::string("cannot start corvesta-cli: ") + std::strerror(spawned);
    return run;
  }
  Pipe::Close(in.read);
  Pipe::Close(out.write);
  Pipe::Close(err.write);
  // The inputs are a few lines: they fit the pipe's buffer.
  if (!call.input.empty()) {
    [[maybe_unused]] const ssize_t written =
        ::write(in.write, call.input.data(), call.input.size());
  }
  Pipe::Close(in.write);

  const auto deadline = Clock::now() + call.limit;
  std::array<pollfd, 2> fds{{{out.read, POLLIN, 0}, {err.read, POLLIN, 0}}};
  std::array<std::string *, 2> sinks{&run.out, &run.err};
  int open = 2;
  int signalled = 0;
  Clock::time_point lastSignal{};
  constexpr std::chrono::milliseconds kSignalLook{100};
  constexpr std::chrono::seconds kSignalApart{1};
  while (open > 0) {
    if (signalled == 0 && call.signalWhen && call.signalWhen()) {
      signalled = 1;
      lastSignal = Clock::now();
      ::kill(pid, call.signal);
    } else if (signalled > 0 && signalled < call.signalCount &&
               Clock::now() - lastSignal >= kSignalApart) {
      ++signalled;
      lastSignal = Clock::now();
      ::kill(pid, call.signal);
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
      run.timedOut = true;
      ::kill(pid, SIGKILL);
      break;
    }
    const bool signalsLeft = call.signalWhen && signalled < call.signalCount;
    const auto wait = signalsLeft ? std::min(left, kSignalLook) : left;
    if (::poll(fds.data(), fds.size(), static_cast<int>(wait.count())) < 0) {
      continue;
    }
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) {
        continue;
      }
      char buffer[4096];
      const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(got));
      } else {
        fds[i].fd = -1;
        --open;
      }
    }
  }
  int status = 0;
  if (::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    run.status = WEXITSTATUS(status);
  }
  return run;
}

} // namespace corvesta::test
