#include "parse_harness.h"

#include "worker/message_store.h"
#include "worker/private_messages.h"

namespace corvesta::test {

std::string OkReply(std::string_view body) {
  std::string reply = "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n";
  reply += body;
  return reply;
}

Parsed ParseHarness::Run(QueryKind kind, CommandIndex index, std::string_view reply,
                         const std::function<void(CQuery &)> &prepare) {
  auto owned = std::make_unique<CQuery>(m_window.Handle());
  owned->kind = kind;
  owned->commandIndex = index;
  if (prepare) {
    prepare(*owned);
  }
  CQuery *query = owned.release();
  Parsed parsed;
  parsed.outcome = ParseReply(*query, reply);
  parsed.messages = m_window.TakeAll();
  if (parsed.outcome.disposition == CQuery::Disposition::Finished) {
    parsed.query.reset(query);
    return parsed;
  }
  parsed.handedOver = true;
  for (const Message &message : parsed.messages) {
    if (message.message != WM_QUERY_RESULT) {
      continue;
    }
    std::unique_ptr<CThread> payload;
    if (CMsg::Instance().Take(MessageIdFromLParam(message.lParam), payload, parsed.storedValue)) {
      parsed.query.reset(dynamic_cast<CQuery *>(payload.release()));
    }
  }
  return parsed;
}

} // namespace corvesta::test
