#pragma once
// Reading a box's volume list: the list the request fills, kept alive until
// the request has ended, and the volumes it holds once it has.

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
  VolumeListReading() = default;
  // A list whose request may still be running is parked until no request
  // can use it any more.
  ~VolumeListReading();
  VolumeListReading(const VolumeListReading &) = delete;
  VolumeListReading &operator=(const VolumeListReading &) = delete;

  // Starts the request with a fresh, zeroed list for the box at
  // `deviceIndex`; the ticket, 0 when nothing was started.
  Ticket Start(BoxRequests &requests, WindowHandle window, std::int32_t deviceIndex);

  // The request has answered: the volumes in the box's order, up to the
  // first numbered 0, in whole GB. The list is freed.
  std::vector<VolumeUsage> Take();

  // The request ended without an answer: its worker is done with the list,
  // which is freed.
  void Ended();

  // The request may still be running (its answer will not be waited for):
  // the list is parked until no request can use it any more.
  void Abandon();

private:
  std::unique_ptr<VolumeInfo> m_first;
};

} // namespace corvesta
