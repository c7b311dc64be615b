#include "setup/request_sequence.h"

#include "nas/protocol_timing.h"
#include "worker/private_messages.h"

namespace corvesta {

RequestSequence::~RequestSequence() {
  if (m_awaiting != Awaiting::Nothing) {
    Host().StopTimer(m_timerId);
  }
}

void RequestSequence::Await(Ticket ticket, Awaiting what, std::chrono::milliseconds limit) {
  m_ticket = ticket;
  m_awaiting = what;
  Host().StartTimer(m_timerId, timing::ScaledMilliseconds(limit));
}

void RequestSequence::StopWaiting() {
  if (m_awaiting != Awaiting::Nothing) {
    Host().StopTimer(m_timerId);
  }
  m_ticket = 0;
  m_awaiting = Awaiting::Nothing;
}

bool RequestSequence::OnMessage(const Message &message) {
  if (m_awaiting == Awaiting::Nothing) {
    return false;
  }
  if (message.message == WM_REQUEST_UNANSWERED) {
    if (static_cast<Ticket>(message.wParam) != m_ticket) {
      return false;
    }
    Unanswered();
    return true;
  }
  if (m_awaiting == Awaiting::SetIpResult && message.message == WM_SETIP_RESULT &&
      message.lParam == static_cast<LPARAM>(QueryKind::AddressChange)) {
    StopWaiting();
    OnSetIpResult(message.wParam);
    return true;
  }
  if (m_awaiting == Awaiting::QueryResult) {
    std::unique_ptr<CQuery> query = TakeQueryOfTicket(message, m_ticket);
    if (!query) {
      return false;
    }
    StopWaiting();
    OnQueryResult(message.wParam, std::move(query));
    return true;
  }
  return false;
}

void RequestSequence::OnTimer(int id) {
  if (id == m_timerId && m_awaiting != Awaiting::Nothing) {
    // The host has dropped the timer that fired.
    m_awaiting = Awaiting::Nothing;
    m_ticket = 0;
    OnUnanswered();
  }
}

void RequestSequence::Unanswered() {
  StopWaiting();
  OnUnanswered();
}

void RequestSequence::OnQueryResult(WPARAM, std::unique_ptr<CQuery>) {}

void RequestSequence::OnSetIpResult(WPARAM) {}

} // namespace corvesta
