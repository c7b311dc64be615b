#include "setup/box_requests.h"

#include "nas/http/command_set.h"
#include "nas/udp/address_change.h"
#include "nas/udp/credential_check.h"
#include "nas/udp/discovery.h"

namespace corvesta {

namespace {

class CoreBoxRequests : public BoxRequests {
public:
  Ticket Discovery(WindowHandle window) override { return StartDiscovery(window); }
  Ticket CredentialCheck(WindowHandle window, std::u16string_view userName,
                         std::u16string_view password, std::int32_t deviceIndex) override {
    return StartCredentialCheck(window, userName, password, deviceIndex);
  }
  Ticket AddressChange(WindowHandle window, std::int32_t deviceIndex,
                       const IpSettingBlock &block) override {
    return StartAddressChange(window, deviceIndex, block);
  }
  Ticket LogIn(WindowHandle window, std::int32_t deviceIndex) override {
    return StartLogIn(window, deviceIndex, 0); // answered with WM_QUERY_RESULT
  }
  Ticket LogOut(WindowHandle window, std::int32_t deviceIndex) override {
    return StartLogOut(window, deviceIndex);
  }
  Ticket LogOutAt(WindowHandle window, std::int32_t deviceIndex,
                  std::string_view address) override {
    return StartLogOutAt(window, deviceIndex, address);
  }
  Ticket ReadUserAccess(WindowHandle window, std::int32_t deviceIndex) override {
    return StartReadUserAccess(window, deviceIndex);
  }
  Ticket ReadVolumeList(WindowHandle window, std::int32_t deviceIndex,
                        std::shared_ptr<VolumeInfo> first) override {
    return StartReadVolumeList(window, deviceIndex, std::move(first));
  }
};

} // namespace

BoxRequests &CoreRequests() {
  static CoreBoxRequests requests;
  return requests;
}

} // namespace corvesta
