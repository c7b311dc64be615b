#pragma once
// The window of corvesta-cli: a message queue that the core's start
// operations post their results to, and bounded waits for those results.
// Every result that is not the one waited for is disposed of as its window
// would (a query taken out of the store and deleted, a disk record freed),
// so nothing is left behind.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "nas/query.h"
#include "platform/message_queue_target.h"
#include "setup/queue_sequence_host.h"
#include "setup/request_sequence.h"
#include "worker/ticket.h"

namespace corvesta::cli {

// A WM_QUERY_RESULT for the ticket waited for.
struct QueryResult {
  WPARAM result = 1;
  std::unique_ptr<CQuery> query;

  bool Succeeded() const;
};

class CliWindow {
public:
  using Match = std::function<bool(const Message &)>;
  using Tick = std::function<void()>;

  WindowHandle Handle() const { return m_target.Handle(); }
  // The queue itself, for a sequence host that runs over it.
  MessageQueueTarget &Queue() { return m_target; }

  // The first message that `match` accepts, waiting at most `limit`. `tick`
  // is called about every 100 ms meanwhile (progress). Nothing on time-out,
  // and nothing as soon as no request is running any more and nothing
  // matching is queued: an answer can then no longer come (a request that
  // failed on the way posts nothing). Timed loops that only pass time pass
  // `endWhenIdle` false.
  std::optional<Message> Wait(const Match &match, std::chrono::milliseconds limit,
                              const Tick &tick = {}, bool endWhenIdle = true);

  // The result of the query with `ticket`; nothing on time-out. With
  // `endOnMessageBox`, also nothing as soon as the core has shown a message
  // box (its way of reporting a refused credential check).
  std::optional<QueryResult> WaitForQuery(Ticket ticket, std::chrono::milliseconds limit,
                                          const Tick &tick = {}, bool endOnMessageBox = false);

  // WM_COMMAND_RESULT for `index`: true on success; nothing on time-out.
  std::optional<bool> WaitForCommand(CommandIndex index, std::chrono::milliseconds limit,
                                     const Tick &tick = {});

  // Disposes of a message nobody waits for.
  static void Discard(const Message &message);

  // The host the core's sequences run on in corvesta-cli.
  SequenceHost &Host() { return m_host; }

  // Runs `sequence` until it ends (true) or `limit` passes (false). Messages
  // it does not take are disposed of; `tick` is called about every 100 ms.
  // A request that ended without a message (none alive, nothing queued) is
  // reported to the sequence as gone.
  bool Run(RequestSequence &sequence, std::chrono::milliseconds limit, const Tick &tick = {});

private:
  MessageQueueTarget m_target;
  QueueSequenceHost m_host{m_target};
};

} // namespace corvesta::cli
