#pragma once
// The start operations of the web commands. Each runs on the window's
// thread: it creates a query bound to `window` for the box at `deviceIndex`,
// fills it, builds the request with the current user name and password as
// they stand now, and starts the worker. It returns the ticket, or 0 when
// nothing was started (no such box, a value that does not fit, or no
// thread); the query is then gone.
//
// Outcomes: the set-up commands (kind 3) answer with WM_COMMAND_RESULT
// (wParam 0 success, 1 failure; lParam the command index), the others with
// the messages of their reply parsers. A request that ends without any of
// those (a transport failure, a reply its parser cannot read) posts
// WM_REQUEST_UNANSWERED with its ticket.

#include <cstdint>
#include <memory>
#include <string_view>

#include "nas/http/request_records.h"
#include "nas/replies/volume_info.h"
#include "platform/window_message.h"
#include "worker/ticket.h"

namespace corvesta {

// ---- Set-up commands of the wizard (kind 3).

// Both passwords must fit 16 bytes as UTF-8. When the box confirms, the new
// password becomes the current one.
Ticket StartChangePassword(WindowHandle window, std::int32_t deviceIndex,
                           std::u16string_view oldPassword, std::u16string_view newPassword);
// Fills the process-wide WizardInfo.
Ticket StartReadWizardInfo(WindowHandle window, std::int32_t deviceIndex);
Ticket StartSetDeviceIdentity(WindowHandle window, std::int32_t deviceIndex,
                              const DeviceIdentity &identity);
Ticket StartSetTimeZone(WindowHandle window, std::int32_t deviceIndex, std::int32_t zone);
Ticket StartSetNetwork(WindowHandle window, std::int32_t deviceIndex, const NetSettings &settings);
// Updates the box's device-list record and WizardInfo.
Ticket StartReadLanAddress(WindowHandle window, std::int32_t deviceIndex);
Ticket StartLockAddress(WindowHandle window, std::int32_t deviceIndex);
// Empties the share list and fills it anew. usbFlag 0: a set-up command
// (WM_COMMAND_RESULT, index 8); 1: the shares of a USB disk (WM_QUERY_RESULT).
Ticket StartReadShareList(WindowHandle window, std::int32_t deviceIndex, std::int32_t usbFlag);
// WM_DISK_INFO with a heap HdInfo (take it with TakeHdInfo), then WM_COMMAND_RESULT.
Ticket StartReadDiskInfo(WindowHandle window, std::int32_t deviceIndex);

// ---- Formatting (kind 5); each answers with its disk message.

Ticket StartStopFileBrowser(WindowHandle window, std::int32_t deviceIndex);
// One spec, or two chained by `next`; a longer chain starts nothing.
Ticket StartCreateVolumes(WindowHandle window, std::int32_t deviceIndex, const VolumeSpec &specs);
Ticket StartReadFormatState(WindowHandle window, std::int32_t deviceIndex);
Ticket StartRemountDisks(WindowHandle window, std::int32_t deviceIndex);
Ticket StartReadRemountState(WindowHandle window, std::int32_t deviceIndex);
Ticket StartFinishFormatting(WindowHandle window, std::int32_t deviceIndex);

// ---- Session (kinds 6, 8, 10): WM_QUERY_RESULT with the query as payload.

// The first volume fills `first`, which the caller allocates zeroed; further
// volumes are chained behind it. The request keeps its share of the list
// until it has ended, so the caller may drop its own at any time.
Ticket StartReadVolumeList(WindowHandle window, std::int32_t deviceIndex,
                           std::shared_ptr<VolumeInfo> first);
// The query's accessText holds the rights text.
Ticket StartReadUserAccess(WindowHandle window, std::int32_t deviceIndex);
// wizardLogin 1: the answer is WM_COMMAND_RESULT for index 19 instead. On
// failure the query's loginFlag tells why (5: the account is in use).
Ticket StartLogIn(WindowHandle window, std::int32_t deviceIndex, std::uint32_t wizardLogin);
Ticket StartLogOut(WindowHandle window, std::int32_t deviceIndex);
// The same logout sent to `address` (IPv4 text) instead of the box's listed
// address: the box after a change of address that was never confirmed.
Ticket StartLogOutAt(WindowHandle window, std::int32_t deviceIndex, std::string_view address);

} // namespace corvesta
