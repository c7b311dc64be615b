#pragma once
// Starts nas-sim for a benchmark: writes the state file, runs the simulator
// and waits for its "ready" line; stops it when the object goes away. Only
// for use inside a network namespace (scripts/netns-run), which InNetns()
// tells.

#include <chrono>
#include <string>

namespace corvesta::bench {

class NasSimLauncher {
public:
  NasSimLauncher() = default;
  ~NasSimLauncher();
  NasSimLauncher(const NasSimLauncher &) = delete;
  NasSimLauncher &operator=(const NasSimLauncher &) = delete;

  // False, with Error(), when nas-sim did not report ready in time.
  bool Start(const std::string &stateJson,
             std::chrono::milliseconds timeout = std::chrono::seconds(10));
  void Stop();
  const std::string &Error() const { return m_error; }

  // True when this process runs inside scripts/netns-run.
  static bool InNetns();

private:
  std::string m_folder;
  int m_pid = -1;
  std::string m_error;
};

} // namespace corvesta::bench
