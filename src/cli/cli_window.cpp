#include "cli/cli_window.h"

#include <algorithm>

#include "cli/wait_limits.h"
#include "nas/replies/hd_info.h"
#include "nas/take_query.h"
#include "worker/private_messages.h"

namespace corvesta::cli {

using Clock = std::chrono::steady_clock;

bool QueryResult::Succeeded() const {
  return result == kResultSuccess && query != nullptr;
}

namespace {
bool EndedUnanswered(const Message &message, Ticket ticket) {
  return message.message == WM_REQUEST_UNANSWERED && message.wParam == ticket;
}
} // namespace

void CliWindow::Discard(const Message &message) {
  if (message.message == WM_QUERY_RESULT) {
    TakeQuery(message); // deleted here
  } else if (message.message == WM_DISK_INFO) {
    TakeHdInfo(message.wParam); // freed here
  }
}

std::optional<Message> CliWindow::Wait(const Match &match, std::chrono::milliseconds limit,
                                       const Tick &tick) {
  const auto deadline = Clock::now() + limit;
  while (true) {
    const auto now = Clock::now();
    if (now >= deadline) {
      return std::nullopt;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
    std::optional<Message> message = m_target.WaitForMessage(std::min(left, limits::kProgressTick));
    if (!message) {
      if (tick) {
        tick();
      }
      continue;
    }
    if (match(*message)) {
      return message;
    }
    Discard(*message);
  }
}

std::optional<Message> CliWindow::WaitForEnd(Ticket ticket, const Match &match,
                                             std::chrono::milliseconds limit, const Tick &tick) {
  std::optional<Message> message =
      Wait([&](const Message &m) { return EndedUnanswered(m, ticket) || match(m); }, limit, tick);
  if (!message || EndedUnanswered(*message, ticket)) {
    return std::nullopt;
  }
  return message;
}

std::optional<QueryResult> CliWindow::WaitForQuery(Ticket ticket, std::chrono::milliseconds limit,
                                                   const Tick &tick) {
  std::optional<QueryResult> found;
  auto match = [&](const Message &message) {
    if (message.message != WM_QUERY_RESULT) {
      return false;
    }
    std::unique_ptr<CQuery> query = TakeQuery(message);
    if (!query || query->ticket != ticket) {
      return false; // a superseded request: its query is deleted here
    }
    found = QueryResult{message.wParam, std::move(query)};
    return true;
  };
  if (!WaitForEnd(ticket, match, limit, tick)) {
    return std::nullopt;
  }
  return found;
}

std::optional<bool> CliWindow::WaitForCommand(Ticket ticket, CommandIndex index,
                                              std::chrono::milliseconds limit, const Tick &tick) {
  const std::optional<WPARAM> result = WaitForCommandResult(ticket, index, limit, tick);
  if (!result) {
    return std::nullopt;
  }
  return *result == kResultSuccess;
}

std::optional<WPARAM> CliWindow::WaitForCommandResult(Ticket ticket, CommandIndex index,
                                                      std::chrono::milliseconds limit,
                                                      const Tick &tick) {
  bool unanswered = false;
  auto match = [&](const Message &message) {
    if (EndedUnanswered(message, ticket)) {
      unanswered = true;
      return true;
    }
    return message.message == WM_COMMAND_RESULT && message.lParam == static_cast<LPARAM>(index);
  };
  std::optional<Message> message = Wait(match, limit, tick);
  if (!message) {
    return std::nullopt;
  }
  return unanswered ? kResultFailure : message->wParam;
}

bool CliWindow::Run(RequestSequence &sequence, std::chrono::milliseconds limit, const Tick &tick) {
  // A request that fails on its way ends with WM_REQUEST_UNANSWERED for its
  // ticket, which the sequence takes as its end.
  return m_host.Run(sequence, limit, Discard, tick, limits::kProgressTick);
}

} // namespace corvesta::cli
