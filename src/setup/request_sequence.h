#pragma once
// The common ground of the sequences that run one request at a time: the
// request in flight, how its outcome is told apart from the other messages
// the host's window gets, and a limit on the wait for it.
//
// The outcome of the request in flight is one of
//  - WM_QUERY_RESULT whose query carries its ticket: the query is taken out
//    of the message store and handed to OnQueryResult;
//  - WM_SETIP_RESULT, for an address change (the message carries no ticket,
//    so an address change is awaited alone);
//  - WM_REQUEST_UNANSWERED with its ticket, or the end of the wait's limit:
//    OnUnanswered.
// Results of other tickets (earlier requests, the owner's own) are not the
// sequence's: OnMessage leaves them, payload and all, to the owner.

#include <chrono>
#include <memory>

#include "nas/query.h"
#include "nas/take_query.h"
#include "setup/box_requests.h"
#include "setup/sequence.h"
#include "worker/ticket.h"

namespace corvesta {

class RequestSequence : public Sequence {
public:
  // `timerId` is the host timer of the wait's limit; sequences that share a
  // host use different ids. `requests` starts the requests.
  RequestSequence(SequenceHost &host, int timerId, BoxRequests &requests)
      : Sequence(host), m_requests(requests), m_timerId(timerId) {}
  ~RequestSequence() override;

  bool OnMessage(const Message &message) final;
  void OnTimer(int id) final;

  // The ticket of the request in flight; 0 when none.
  Ticket PendingTicket() const { return m_ticket; }

protected:
  enum class Awaiting { Nothing, QueryResult, SetIpResult };

  // Waits for request `ticket` (nonzero) to answer as given, at most `limit`
  // (scaled as every protocol time is). Replaces any earlier wait.
  void Await(Ticket ticket, Awaiting what, std::chrono::milliseconds limit);
  // Stops waiting; no callback follows for the request.
  void StopWaiting();

  BoxRequests &Requests() const { return m_requests; }

  // Each is called with the wait already stopped, so it may start the next.
  virtual void OnQueryResult(WPARAM result, std::unique_ptr<CQuery> query);
  virtual void OnSetIpResult(WPARAM result);
  virtual void OnUnanswered() = 0;

private:
  void Unanswered();

  BoxRequests &m_requests;
  const int m_timerId;
  Ticket m_ticket = 0;
  Awaiting m_awaiting = Awaiting::Nothing;
};

} // namespace corvesta
