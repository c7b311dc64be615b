#pragma once
// Runs one reply parser over a reply text, as the worker would after the
// status check, with a message queue standing in for the window. A query
// that the parser handed over is taken back from the message store.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "nas/query.h"
#include "nas/replies/reply_dispatch.h"
#include "platform/message_queue_target.h"

namespace corvesta::test {

// "HTTP/1.0 200 OK", headers, a blank line and `body`.
std::string OkReply(std::string_view body);

struct Parsed {
  ParseOutcome outcome;
  std::unique_ptr<CQuery> query; // the query, whether handed over or not
  bool handedOver = false;
  std::uint32_t storedValue = 0; // the store value of a handed-over query
  std::vector<Message> messages; // everything posted to the window, in order
};

class ParseHarness {
public:
  Parsed Run(QueryKind kind, CommandIndex index, std::string_view reply,
             const std::function<void(CQuery &)> &prepare = {});

  WindowHandle Window() const { return m_window.Handle(); }

private:
  MessageQueueTarget m_window;
};

} // namespace corvesta::test
