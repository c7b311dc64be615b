#include "nas/take_query.h"

#include "worker/message_store.h"
#include "worker/private_messages.h"

namespace corvesta {

std::unique_ptr<CQuery> TakeQuery(const Message &message, std::uint32_t *value) {
  if (message.message != WM_QUERY_RESULT) {
    return nullptr;
  }
  std::unique_ptr<CThread> payload;
  std::uint32_t stored = 0;
  if (!CMsg::Instance().Take(MessageIdFromLParam(message.lParam), payload, stored)) {
    return nullptr;
  }
  auto *query = dynamic_cast<CQuery *>(payload.get());
  if (query == nullptr) {
    return nullptr;
  }
  payload.release();
  if (value != nullptr) {
    *value = stored;
  }
  return std::unique_ptr<CQuery>(query);
}

std::unique_ptr<CQuery> TakeQueryOfTicket(const Message &message, Ticket ticket) {
  if (message.message != WM_QUERY_RESULT || ticket == 0) {
    return nullptr;
  }
  bool mine = false;
  CMsg::Instance().Peek(MessageIdFromLParam(message.lParam), [&](const CThread &payload) {
    const auto *query = dynamic_cast<const CQuery *>(&payload);
    mine = query != nullptr && query->ticket == ticket;
  });
  // Only the receiving window's thread takes from the store: what Peek saw
  // is still there.
  return mine ? TakeQuery(message) : nullptr;
}

} // namespace corvesta
