#include "cli/cli_window.h"

#include <algorithm>

#include "cli/terminal_message_box.h"
#include "cli/wait_limits.h"
#include "nas/replies/hd_info.h"
#include "worker/message_store.h"
#include "worker/private_messages.h"

namespace corvesta::cli {

using Clock = std::chrono::steady_clock;

bool QueryResult::Succeeded() const {
  return result == kResultSuccess && query != nullptr;
}

namespace {
std::unique_ptr<CQuery> TakeQuery(const Message &message) {
  std::unique_ptr<CThread> payload;
  std::uint32_t value = 0;
  if (!CMsg::Instance().Take(MessageIdFromLParam(message.lParam), payload, value)) {
    return nullptr;
  }
  if (auto *query = dynamic_cast<CQuery *>(payload.get())) {
    payload.release();
    return std::unique_ptr<CQuery>(query);
  }
  return nullptr;
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
                                       const Tick &tick, bool endWhenIdle) {
  const auto deadline = Clock::now() + limit;
  bool idle = false;
  while (true) {
    const auto now = Clock::now();
    if (now >= deadline) {
      return std::nullopt;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
    // A query is deleted only after its message was posted: once none is
    // alive, whatever is still to come is in the queue already.
    idle = endWhenIdle && CQuery::LiveCount() == 0;
    const auto slice = idle ? std::chrono::milliseconds(0) : std::min(left, limits::kProgressTick);
    std::optional<Message> message = m_target.WaitForMessage(slice);
    if (!message) {
      if (idle) {
        return std::nullopt;
      }
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

std::optional<QueryResult> CliWindow::WaitForQuery(Ticket ticket, std::chrono::milliseconds limit,
                                                   const Tick &tick, bool endOnMessageBox) {
  std::optional<QueryResult> found;
  bool boxShown = false;
  auto match = [&](const Message &message) {
    if (endOnMessageBox && message.message == WM_CLI_MESSAGE_SHOWN) {
      boxShown = true;
      return true;
    }
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
  if (!Wait(match, limit, tick) || boxShown) {
    return std::nullopt;
  }
  return found;
}

std::optional<bool> CliWindow::WaitForCommand(CommandIndex index, std::chrono::milliseconds limit,
                                              const Tick &tick) {
  auto match = [&](const Message &message) {
    return message.message == WM_COMMAND_RESULT && message.lParam == static_cast<LPARAM>(index);
  };
  std::optional<Message> message = Wait(match, limit, tick);
  if (!message) {
    return std::nullopt;
  }
  return message->wParam == kResultSuccess;
}

bool CliWindow::Run(RequestSequence &sequence, std::chrono::milliseconds limit, const Tick &tick) {
  auto everyTick = [&] {
    // A query is deleted only after its message was posted: once none is
    // alive and nothing is queued, no answer can come any more.
    if (CQuery::LiveCount() == 0 && m_target.QueuedCount() == 0) {
      sequence.RequestGone();
    }
    if (tick) {
      tick();
    }
  };
  return m_host.Run(sequence, limit, Discard, everyTick, limits::kProgressTick);
}

} // namespace corvesta::cli
