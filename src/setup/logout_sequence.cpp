#include "setup/logout_sequence.h"

#include "nas/current_credentials.h"
#include "nas/protocol_timing.h"

namespace corvesta {

bool LogoutSequence::Start(std::int32_t deviceIndex, bool loggedIn) {
  StopWaiting();
  m_running = false;
  m_result = LogoutResult::NothingSent;
  // Built now, with the user name still current.
  const Ticket ticket = loggedIn ? Requests().LogOut(Host().Window(), deviceIndex) : 0;
  ClearCurrentCredentials();
  if (ticket == 0) {
    return false;
  }
  m_running = true;
  m_result = LogoutResult::None;
  Await(ticket, Awaiting::QueryResult, timing::kLogoutLimit);
  return true;
}

bool LogoutSequence::StartAt(std::int32_t deviceIndex, std::string_view address,
                             bool keepCredentials) {
  StopWaiting();
  m_running = false;
  m_result = LogoutResult::NothingSent;
  const Ticket ticket = Requests().LogOutAt(Host().Window(), deviceIndex, address);
  if (!keepCredentials) {
    ClearCurrentCredentials();
  }
  if (ticket == 0) {
    return false;
  }
  m_running = true;
  m_result = LogoutResult::None;
  Await(ticket, Awaiting::QueryResult, timing::kLogoutLimit);
  return true;
}

void LogoutSequence::OnQueryResult(WPARAM, std::unique_ptr<CQuery>) {
  m_running = false;
  m_result = LogoutResult::Answered;
}

void LogoutSequence::OnUnanswered() {
  m_running = false;
  m_result = LogoutResult::Unanswered;
}

} // namespace corvesta
