#pragma once
// The receiving end of a hand-over: a window that gets WM_QUERY_RESULT takes
// the finished query back out of the message store, reads it and deletes it.

#include <cstdint>
#include <memory>

#include "nas/query.h"
#include "platform/window_message.h"
#include "worker/ticket.h"

namespace corvesta {

// The query stored under the id of a WM_QUERY_RESULT, removed from the store;
// `value`, when given, receives the value it was stored with. Null, with the
// store unchanged, for any other message, for an id that is not (or no
// longer) in the store, and for a payload that is not a query (that payload
// is deleted, as nobody else could reach it any more).
std::unique_ptr<CQuery> TakeQuery(const Message &message, std::uint32_t *value = nullptr);

// As TakeQuery, but only the query whose ticket is `ticket` (nonzero): the
// query of any other request stays in the store for its owner.
std::unique_ptr<CQuery> TakeQueryOfTicket(const Message &message, Ticket ticket);

} // namespace corvesta
