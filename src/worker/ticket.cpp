#include "worker/ticket.h"

#include <atomic>

namespace corvesta {

Ticket NextTicket() {
  static std::atomic<Ticket> last{0};
  return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

} // namespace corvesta
