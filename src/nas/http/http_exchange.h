#pragma once
// The web request of a query, run on its worker thread: connect, send,
// receive, status check, the reply parser of the command, close, and for a
// set-up command (kind 3) the WM_COMMAND_RESULT that reports it.

#include <memory>
#include <string_view>

#include "nas/query.h"
#include "worker/ticket.h"

namespace corvesta {

// The exchange function of every HTTP kind. A transport failure of a kind
// other than 3 reports nothing here, so the run posts WM_REQUEST_UNANSWERED;
// the query is deleted with its socket closed.
CQuery::Disposition RunHttpExchange(CQuery &query);

// Builds the request of the query (kind, command index and device index
// set) with `body` and launches it. Returns the ticket, or 0 with the query
// deleted when the request could not be built or no thread could be started.
// With `host` given, the request goes to that address (BuildHttpRequest).
Ticket StartHttpCommand(std::unique_ptr<CQuery> query, std::string_view body,
                        std::string_view host = {});

} // namespace corvesta
