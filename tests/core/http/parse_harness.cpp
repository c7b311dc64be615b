#include "parse_harness.h"

#include "nas/take_query.h"
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
    if (auto taken = TakeQuery(message, &parsed.storedValue)) {
      parsed.query = std::move(taken);
    }
  }
  return parsed;
}

} // namespace corvesta::test
