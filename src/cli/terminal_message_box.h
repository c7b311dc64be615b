#pragma once
// The message box service of corvesta-cli. A plain box becomes a line on
// standard error. A question is asked on the terminal, answered yes by
// --yes, and otherwise declined (the answer a dismissed box gives), with a
// hint how to confirm it.
//
// The core shows some outcomes only as a message box (a refused credential
// check posts no message), so after each plain box the service posts
// WM_CLI_MESSAGE_SHOWN to the front end's window: a wait can end there
// instead of running into its time limit.

#include <atomic>
#include <mutex>

#include "platform/message_box.h"
#include "worker/private_messages.h"

namespace corvesta::cli {

// Private to corvesta-cli, clear of the program's own numbers.
inline constexpr UINT WM_CLI_MESSAGE_SHOWN = WM_USER + 1100;

class TerminalMessageBoxService : public MessageBoxService {
public:
  TerminalMessageBoxService(bool assumeYes, bool canAsk);

  MessageBoxResult Show(const MessageBoxRequest &request) override;

  // The window told about each plain box shown (0: none).
  void SetNotifyWindow(WindowHandle window) { m_notify.store(window); }

private:
  MessageBoxResult Ask(const MessageBoxRequest &request);

  const bool m_assumeYes;
  const bool m_canAsk;
  std::atomic<WindowHandle> m_notify{0};
  std::mutex m_askLock; // one question at a time
};

} // namespace corvesta::cli
