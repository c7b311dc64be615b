#pragma once
// The start operations the sequences use, behind one interface: the core's
// own (CoreRequests) in the program, scripted ones in tests, so that a test
// can drive a sequence through every outcome with messages of its own.

#include <cstdint>
#include <memory>
#include <string_view>

#include "nas/replies/volume_info.h"
#include "nas/udp/ip_setting_block.h"
#include "platform/window_message.h"
#include "worker/ticket.h"

namespace corvesta {

class BoxRequests {
public:
  virtual ~BoxRequests() = default;

  // Each returns the ticket, 0 when nothing was started.
  virtual Ticket Discovery(WindowHandle window) = 0;
  virtual Ticket CredentialCheck(WindowHandle window, std::u16string_view userName,
                                 std::u16string_view password, std::int32_t deviceIndex) = 0;
  virtual Ticket AddressChange(WindowHandle window, std::int32_t deviceIndex,
                               const IpSettingBlock &block) = 0;
  virtual Ticket LogIn(WindowHandle window, std::int32_t deviceIndex) = 0;
  virtual Ticket LogOut(WindowHandle window, std::int32_t deviceIndex) = 0;
  // The logout sent to `address` instead of the box's listed address. Those
  // that do not offer it start nothing.
  virtual Ticket LogOutAt(WindowHandle window, std::int32_t deviceIndex, std::string_view address) {
    static_cast<void>(window);
    static_cast<void>(deviceIndex);
    static_cast<void>(address);
    return 0;
  }
  virtual Ticket ReadUserAccess(WindowHandle window, std::int32_t deviceIndex) = 0;
  // The request keeps its share of `first` until it has ended.
  virtual Ticket ReadVolumeList(WindowHandle window, std::int32_t deviceIndex,
                                std::shared_ptr<VolumeInfo> first) = 0;
};

// The core's start operations.
BoxRequests &CoreRequests();

} // namespace corvesta
