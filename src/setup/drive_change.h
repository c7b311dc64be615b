#pragma once
// One change of a network drive, run on a worker thread of its own: the old
// letter is disconnected first (when there is one), then the share is
// connected to the new letter (when there is one). The second call is made
// only after the first succeeded. When both are done the worker posts
// WM_DRIVE_CALL_DONE (wParam: the change's number) to the window.
//
// Every call is bounded (DriveCallLimit), so the worker ends on its own;
// Cancel asks the calls to stop and waits a bounded time for it.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

#include "platform/network_drives.h"
#include "platform/window_message.h"

namespace corvesta {

struct DriveChangeOutcome {
  // The old letter's disconnection, when one was asked for.
  std::optional<DriveResult> unmap;
  // The new connection, when one was asked for and the disconnection (if
  // any) succeeded.
  std::optional<DriveResult> map;
};

class DriveChange : public std::enable_shared_from_this<DriveChange> {
public:
  // `oldLetter` 0: nothing to disconnect; no `map`: nothing to connect.
  // Null when no thread could be started.
  static std::shared_ptr<DriveChange> Start(WindowHandle window, std::uint64_t number,
                                            char oldLetter, std::optional<DriveMapRequest> map);
  ~DriveChange();
  DriveChange(const DriveChange &) = delete;
  DriveChange &operator=(const DriveChange &) = delete;

  std::uint64_t Number() const { return m_number; }
  bool Finished() const;
  // Complete once Finished.
  DriveChangeOutcome Outcome() const;
  // Waits for the worker after it has reported.
  void Join();
  // Asks the running call to stop and waits at most `limit` for the worker.
  // True when it has ended (and was joined); false leaves it to end on its
  // own (it holds everything it uses).
  bool Cancel(std::chrono::milliseconds limit);

private:
  DriveChange(WindowHandle window, std::uint64_t number, char oldLetter,
              std::optional<DriveMapRequest> map);
  void Run(std::shared_ptr<NetworkDrives> service);

  const WindowHandle m_window;
  const std::uint64_t m_number;
  const char m_oldLetter;
  const std::optional<DriveMapRequest> m_request;
  std::stop_source m_stop;
  mutable std::mutex m_lock;
  std::condition_variable m_ended;
  bool m_finished = false;
  DriveChangeOutcome m_outcome;
  std::thread m_thread;
};

} // namespace corvesta
