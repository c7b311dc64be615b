#pragma once
// The window of corvesta-cli: a message queue that the core's start
// operations post their results to, and bounded waits for those results.
// Every request ends with its result or with WM_REQUEST_UNANSWERED for its
// ticket, so a wait for a ticket ends as soon as the request has ended.
// Every message that is not the one waited for is disposed of as its window
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
  // is called about every 100 ms meanwhile (progress). Nothing on time-out.
  std::optional<Message> Wait(const Match &match, std::chrono::milliseconds limit,
                              const Tick &tick = {});

  // As Wait, for the request with `ticket`: also nothing as soon as that
  // request ended without an answer.
  std::optional<Message> WaitForEnd(Ticket ticket, const Match &match,
                                    std::chrono::milliseconds limit, const Tick &tick = {});

  // The result of the query with `ticket`; nothing on time-out or when the
  // request ended without an answer (a refused credential check included).
  std::optional<QueryResult> WaitForQuery(Ticket ticket, std::chrono::milliseconds limit,
                                          const Tick &tick = {});

  // WM_COMMAND_RESULT for `index`, of the request with `ticket`: true on
  // success; false when the request ended without an answer; nothing on
  // time-out.
  std::optional<bool> WaitForCommand(Ticket ticket, CommandIndex index,
                                     std::chrono::milliseconds limit, const Tick &tick = {});
  // As WaitForCommand, with the result itself (kResultFailure when the
  // request ended without an answer).
  std::optional<WPARAM> WaitForCommandResult(Ticket ticket, CommandIndex index,
                                             std::chrono::milliseconds limit,
                                             const Tick &tick = {});

  // Disposes of a message nobody waits for.
  static void Discard(const Message &message);

  // The host the core's sequences run on in corvesta-cli.
  SequenceHost &Host() { return m_host; }

  // Runs `sequence` until it ends (true) or `limit` passes (false). Messages
  // it does not take are disposed of; `tick` is called about every 100 ms.
  bool Run(RequestSequence &sequence, std::chrono::milliseconds limit, const Tick &tick = {});

private:
  MessageQueueTarget m_target;
  QueueSequenceHost m_host{m_target};
};

} // namespace corvesta::cli
