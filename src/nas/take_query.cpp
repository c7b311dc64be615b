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

} // namespace corvesta
