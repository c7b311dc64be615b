#pragma once
// Reading a box's volume list: the list the request fills, shared with the
// request until it has ended, and the volumes it holds once it has.

#include <cstdint>
#include <memory>
#include <vector>

#include "nas/replies/volume_info.h"
#include "platform/window_message.h"
#include "setup/box_requests.h"
#include "setup/volume_usage.h"
#include "worker/ticket.h"

namespace corvesta {

class VolumeListReading {
public:
  // Starts the request with a fresh, zeroed list for the box at
  // `deviceIndex`; the ticket, 0 when nothing was started.
  Ticket Start(BoxRequests &requests, WindowHandle window, std::int32_t deviceIndex);

  // The request has answered: the volumes in the box's order, up to the
  // first numbered 0, in whole GB. The list is let go of.
  std::vector<VolumeUsage> Take();

  // The request ended without an answer, or its answer will not be waited
  // for: the list is let go of. A request still running keeps its own share
  // until it ends.
  void Abandon();

private:
  std::shared_ptr<VolumeInfo> m_first;
};

} // namespace corvesta
