#include "nas/http/http_exchange.h"

#include "nas/http/http_request_builder.h"
#include "nas/http/http_status_line.h"
#include "nas/http/http_transport.h"
#include "nas/replies/reply_dispatch.h"
#include "platform/text_codec.h"
#include "worker/private_messages.h"

namespace corvesta {

namespace {

class QueryWaits : public TransportWaits {
public:
  explicit QueryWaits(CQuery &query) : m_query(query) {}
  bool StopRequested() const override { return m_query.StopRequested(); }
  bool Pause(std::chrono::microseconds duration) override { return m_query.PauseFor(duration); }

private:
  CQuery &m_query;
};

enum class TransferEnd {
  NotSent,  // no connection, or the request did not go out whole
  Lost,     // the request went out whole, no reply text came back
  Received, // a reply text is in the query's buffer
};

// Connect, send and receive. Received when a reply text is in the query's
// buffer (a receive ended by closure, a full buffer, silence or a stop; not
// one cut short by the time limit, nor an empty one).
TransferEnd Transfer(CQuery &query) {
  QueryWaits waits(query);
  query.socket = OpenHttpSocket();
  if (!query.socket) {
    return TransferEnd::NotSent;
  }
  const std::string_view address = FieldText(query.targetAddress, sizeof query.targetAddress);
  if (!ConnectWithin(query.socket.Get(), address, query.targetPort, waits)) {
    return TransferEnd::NotSent;
  }
  if (!SendRequest(query.socket.Get(), query.request, waits)) {
    return TransferEnd::NotSent;
  }
  std::size_t length = 0;
  // A reply cut short by the time limit is not read as if it were whole.
  const ReceiveEnd end = ReceiveReply(query.socket.Get(), query.reply, length, waits);
  if (end == ReceiveEnd::Failed || end == ReceiveEnd::Overdue || length == 0) {
    return TransferEnd::Lost;
  }
  return TransferEnd::Received;
}

// The set-up commands that change the box: once their request is out, the
// box may have acted on it even when no answer comes back.
bool ChangesTheBox(CommandIndex index) {
  switch (index) {
  case CommandIndex::ChangePassword:
  case CommandIndex::SetDeviceIdentity:
  case CommandIndex::SetTimeZone:
  case CommandIndex::SetNetwork:
    return true;
  default:
    return false;
  }
}

} // namespace

CQuery::Disposition RunHttpExchange(CQuery &query) {
  query.transport = Transport::Tcp;
  const TransferEnd transferred = Transfer(query);
  // The whole reply is in the buffer: the connection is of no further use,
  // and a parser that hands the query over must find it closed.
  CloseHttpSocket(query.socket);

  std::uint32_t result = 1;
  if (transferred == TransferEnd::Received) {
    const std::string_view text =
        FieldText(reinterpret_cast<const char *>(query.reply.data()), query.reply.size());
    if (StatusLineAccepted(text)) {
      const ParseOutcome outcome = ParseReply(query, text);
      if (outcome.disposition == CQuery::Disposition::HandedOver) {
        return outcome.disposition; // the query belongs to the window now
      }
      result = outcome.result;
    }
  } else if (transferred == TransferEnd::Lost && ChangesTheBox(query.commandIndex)) {
    result = kResultReplyLost;
  }
  if (query.kind == QueryKind::SetupCommand) {
    query.Report(WM_COMMAND_RESULT, result, static_cast<LPARAM>(query.commandIndex));
  }
  return CQuery::Disposition::Finished;
}

Ticket StartHttpCommand(std::unique_ptr<CQuery> query, std::string_view body,
                        std::string_view host) {
  if (!query || !BuildHttpRequest(*query, body, host)) {
    return 0;
  }
  return CQuery::Launch(std::move(query), &RunHttpExchange);
}

} // namespace corvesta
