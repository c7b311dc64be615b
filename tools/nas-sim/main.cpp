// nas-sim: simulated storage boxes for tests and the demo. See README.md.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "box_state.h"
#include "control_channel.h"
#include "request_log.h"
#include "simulator.h"
#include "unique_fd.h"

namespace {

using namespace corvesta::sim;

int g_signalPipe = -1;

extern "C" void OnStopSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t ignored = ::write(g_signalPipe, &byte, 1);
}

struct Options {
  std::string stateFile;
  std::string logFile;
  std::string controlPath;
  bool listAddresses = false;
};

constexpr const char *kUsage =
    "usage: nas-sim --state FILE [--log FILE] [--control SOCKET]\n"
    "       nas-sim --state FILE --list-addresses\n"
    "Runs the boxes of the state file until SIGTERM or SIGINT; prints \"ready\"\n"
    "once every socket is bound. --list-addresses prints the boxes' addresses,\n"
    "one a line, and exits.\n";

bool ParseOptions(int argc, char **argv, Options &options, std::string &error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string *target = nullptr;
    if (arg == "--list-addresses") {
      options.listAddresses = true;
      continue;
    }
    if (arg == "--state") {
      target = &options.stateFile;
    } else if (arg == "--log") {
      target = &options.logFile;
    } else if (arg == "--control") {
      target = &options.controlPath;
    } else {
      error = "unknown argument \"" + arg + "\"";
      return false;
    }
    if (i + 1 >= argc) {
      error = arg + " needs a value";
      return false;
    }
    *target = argv[++i];
  }
  if (options.stateFile.empty()) {
    error = "--state FILE is required";
    return false;
  }
  return true;
}

bool ReadFile(const std::string &path, std::string &text, std::string &error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the state file " + path + ": " + std::strerror(errno);
    return false;
  }
  std::ostringstream content;
  content << in.rdbuf();
  text = content.str();
  return true;
}

int Fail(const std::string &error) {
  std::fprintf(stderr, "nas-sim: %s\n", error.c_str());
  return 2;
}

} // namespace

int main(int argc, char **argv) {
  Options options;
  std::string error;
  if (!ParseOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "nas-sim: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  std::string text;
  if (!ReadFile(options.stateFile, text, error)) {
    return Fail(error);
  }
  auto boxes = BoxesFromText(text, error);
  if (!boxes) {
    return Fail(options.stateFile + ": " + error);
  }
  if (options.listAddresses) {
    for (const Box &box : *boxes) {
      std::printf("%s\n", box.ip.c_str());
    }
    return 0;
  }

  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
    return Fail(std::string("cannot create a pipe: ") + std::strerror(errno));
  }
  UniqueFd signalRead(pipeFds[0]);
  UniqueFd signalWrite(pipeFds[1]);
  g_signalPipe = signalWrite.Get();
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGINT, &action, nullptr);
  ::signal(SIGPIPE, SIG_IGN);

  RequestLog log;
  if (!options.logFile.empty() && !log.Open(options.logFile, error)) {
    return Fail(error);
  }
  Simulator simulator(std::move(*boxes), log);
  if (!simulator.Start(error)) {
    return Fail(error);
  }
  ControlChannel control(simulator);
  if (!options.controlPath.empty() && !control.Open(options.controlPath, error)) {
    return Fail(error);
  }
  simulator.Loop().Watch(signalRead.Get(), POLLIN,
                         [&simulator](short) { simulator.Loop().Stop(); });

  std::printf("ready\n");
  std::fflush(stdout);
  if (!simulator.Loop().Run()) {
    return Fail(std::string("the event loop failed: ") + std::strerror(errno));
  }
  return 0;
}
