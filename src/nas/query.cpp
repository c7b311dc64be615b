#include "nas/query.h"

#include <unistd.h>

#include "worker/message_store.h"
#include "worker/private_messages.h"

namespace corvesta {

std::atomic<std::int64_t> CQuery::s_live{0};

CQuery::CQuery(WindowHandle target) : window(target) {
  m_stopFlag.store(1);
  s_live.fetch_add(1);
}

CQuery::~CQuery() {
  Stop();
  if (socket >= 0) {
    ::close(socket);
  }
  s_live.fetch_sub(1);
}

Ticket CQuery::Launch(std::unique_ptr<CQuery> query, Exchange exchange) {
  if (!query || exchange == nullptr) {
    return 0;
  }
  const Ticket issued = NextTicket();
  query->ticket = issued;
  query->m_exchange = exchange;
  if (!query->Start()) {
    return 0; // the unique_ptr deletes the query
  }
  query.release(); // the worker owns it now
  return issued;
}

void CQuery::Run() {
  if (m_exchange(*this) == Disposition::HandedOver) {
    return; // the query may be gone already
  }
  ReleaseThread();
  delete this;
}

CQuery::Disposition CQuery::HandOver(WPARAM result) {
  const WindowHandle target = window;
  ReleaseThread();
  channels.clear();
  CMsg &store = CMsg::Instance();
  const MessageId id =
      store.Put(std::unique_ptr<CThread>(this), static_cast<std::uint32_t>(result));
  // From here on the query belongs to the store and then to the window.
  if (!PostMessage(target, WM_QUERY_RESULT, result, MessageIdToLParam(id))) {
    std::unique_ptr<CThread> back;
    std::uint32_t value = 0;
    store.Take(id, back, value); // nobody else knows the id: this deletes the query
  }
  return Disposition::HandedOver;
}

bool CQuery::PauseFor(std::chrono::microseconds duration) {
  return Pause(std::chrono::ceil<std::chrono::milliseconds>(duration));
}

std::int64_t CQuery::LiveCount() {
  return s_live.load();
}

} // namespace corvesta
