#include "nas/query.h"

#include "worker/message_store.h"
#include "worker/private_messages.h"

namespace corvesta {

std::atomic<std::int64_t> CQuery::s_live{0};
std::atomic<std::int64_t> CQuery::s_running{0};

CQuery::CQuery(WindowHandle target) : window(target) {
  m_stopFlag.store(1);
  s_live.fetch_add(1);
}

CQuery::~CQuery() {
  Stop();
  s_live.fetch_sub(1);
}

Ticket CQuery::Launch(std::unique_ptr<CQuery> query, Exchange exchange) {
  if (!query || exchange == nullptr) {
    return 0;
  }
  const Ticket issued = NextTicket();
  query->ticket = issued;
  query->m_exchange = exchange;
  query->m_answered = false;
  // Counted before the thread exists, so that no drain can miss it.
  query->m_counted = true;
  s_running.fetch_add(1);
  if (!query->Start()) {
    query->m_counted = false;
    s_running.fetch_sub(1);
    return 0; // the unique_ptr deletes the query
  }
  query.release(); // the worker owns it now
  return issued;
}

void CQuery::Run() {
  // Read before the exchange: a query handed over may be gone when it returns.
  const bool counted = m_counted;
  if (m_exchange(*this) == Disposition::HandedOver) {
    if (counted) {
      s_running.fetch_sub(1);
    }
    return;
  }
  const WindowHandle target = window;
  const Ticket issued = ticket;
  const QueryKind asked = kind;
  const bool answered = m_answered;
  ReleaseThread();
  delete this;
  if (!answered) {
    PostMessage(target, WM_REQUEST_UNANSWERED, static_cast<WPARAM>(issued),
                static_cast<LPARAM>(asked));
  }
  if (counted) {
    s_running.fetch_sub(1); // the last thing this worker does
  }
}

bool CQuery::Report(UINT message, WPARAM wParam, LPARAM lParam) {
  m_answered = true;
  return PostMessage(window, message, wParam, lParam);
}

CQuery::Disposition CQuery::HandOver(WPARAM result) {
  m_answered = true;
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

std::int64_t CQuery::RunningCount() {
  return s_running.load();
}

} // namespace corvesta
