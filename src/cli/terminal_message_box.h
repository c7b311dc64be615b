#pragma once
// The message box service of corvesta-cli. A plain box becomes a line on
// standard error. A question is asked on the terminal, answered yes by
// --yes, and otherwise declined (the answer a dismissed box gives), with a
// hint how to confirm it.

#include <mutex>

#include "platform/message_box.h"

namespace corvesta::cli {

class TerminalMessageBoxService : public MessageBoxService {
public:
  TerminalMessageBoxService(bool assumeYes, bool canAsk);

  MessageBoxResult Show(const MessageBoxRequest &request) override;

private:
  MessageBoxResult Ask(const MessageBoxRequest &request);

  const bool m_assumeYes;
  const bool m_canAsk;
  std::mutex m_askLock; // one question at a time
};

} // namespace corvesta::cli
