#pragma once
// Runs corvesta-cli as a child process for a test: arguments, environment
// additions, text on standard input; collects standard output, standard
// error and the exit status. The child is killed when it outlives its time.

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace corvesta::test {

struct CliRun {
  int status = -1;       // exit status; -1 when it did not exit normally
  bool timedOut = false; // killed after the time limit
  std::string out;
  std::string err;
};

struct CliCall {
  std::vector<std::string> args;
  std::map<std::string, std::string> env; // added to (or replacing in) the test's environment
  std::string input;                      // written to standard input, which is then closed
  std::chrono::milliseconds limit{std::chrono::seconds(90)};
  // While it runs, `signalWhen` is asked about every 100 ms; once it says
  // yes, `signal` is sent to corvesta-cli (once).
  std::function<bool()> signalWhen;
  int signal = 0;
  // How often the signal is sent, a second apart.
  int signalCount = 1;
  // Standard error is a terminal (a pseudo-terminal the test reads), so
  // what is shown only on a terminal, such as progress lines, is seen.
  bool errorOnTerminal = false;
};

CliRun RunCli(const CliCall &call);

} // namespace corvesta::test
