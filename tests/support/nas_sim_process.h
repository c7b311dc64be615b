#pragma once
// Runs nas-sim, the simulated boxes, for a test: writes the state, starts the
// process, waits for "ready", offers the control commands and the request
// log, and stops the process when the object goes away. Tests that use it
// run inside a network namespace (tests registered with NETWORK).

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/temp_folder.h"

namespace corvesta::test {

// One line of the request log: one datagram or one web request received.
struct SimRequest {
  double time = 0;       // seconds since the epoch
  std::string box;       // the box's name; "*" for a datagram to the group that names no box
  std::string transport; // "udp" or "tcp"
  std::string peer;      // sender, "address:port"
  std::string local;     // where it arrived, "address:port"
  std::string bytes;     // exactly what was received
};

class NasSimProcess {
public:
  NasSimProcess();
  ~NasSimProcess();
  NasSimProcess(const NasSimProcess &) = delete;
  NasSimProcess &operator=(const NasSimProcess &) = delete;

  // Writes `state` ({"boxes": [...]}) to the state file and starts nas-sim.
  // False, with Error(), when it does not report ready within `timeout` (the
  // process is then stopped).
  bool Start(const nlohmann::json &state,
             std::chrono::milliseconds timeout = std::chrono::seconds(10));
  bool Start(std::string_view stateJson,
             std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Starts nas-sim on an existing state file (for example the demo's).
  bool StartWithStateFile(const std::filesystem::path &stateFile,
                          std::chrono::milliseconds timeout = std::chrono::seconds(10));

  // SIGTERM, then SIGKILL after a few seconds; reaps the process. Safe to call twice.
  void Stop();
  bool Running();
  // After Stop: the exit code, or minus the signal number that ended it.
  int ExitStatus() const { return m_exitStatus; }
  // What went wrong in the last Start or control command; what nas-sim wrote
  // on stderr when Start failed.
  const std::string &Error() const { return m_error; }
  // What nas-sim has written on stderr so far (warnings about requests it
  // ignored or refused, sanitizer reports).
  std::string Stderr() const;

  // Sends one control command and returns the reply object; nothing when the
  // channel failed. A reply with "ok": false carries "error".
  std::optional<nlohmann::json> Control(const nlohmann::json &command);
  // The box's state with its "runtime" part, by name or hardware address.
  std::optional<nlohmann::json> Box(std::string_view nameOrMac);
  // Merges `patch` into the box's state (JSON merge patch).
  bool Patch(std::string_view nameOrMac, const nlohmann::json &patch);
  // Replaces the box's fault switches.
  bool SetFaults(std::string_view nameOrMac, const nlohmann::json &faults);

  // The request log as it stands now.
  std::vector<SimRequest> Requests() const;
  // Waits until a logged request satisfies `match`; returns it.
  std::optional<SimRequest> WaitForRequest(const std::function<bool(const SimRequest &)> &match,
                                           std::chrono::milliseconds timeout) const;

  const std::filesystem::path &StateFile() const { return m_stateFile; }
  const std::filesystem::path &LogFile() const { return m_logFile; }
  const std::filesystem::path &ControlSocket() const { return m_controlSocket; }

  // A box with an administrator account and nothing else configured: no
  // disks, volumes or shares. Add to it as the test needs.
  static nlohmann::json MakeBox(const std::string &name, const std::string &ip,
                                const std::string &mac, const std::string &adminPassword = "admin");
  static nlohmann::json MakeState(const std::vector<nlohmann::json> &boxes);

private:
  bool Launch(std::chrono::milliseconds timeout);

  TempFolder m_folder;
  std::filesystem::path m_stateFile;
  std::filesystem::path m_logFile;
  std::filesystem::path m_controlSocket;
  std::filesystem::path m_stderrFile;
  int m_pid = -1;
  int m_exitStatus = 0;
  std::string m_error;
};

} // namespace corvesta::test
