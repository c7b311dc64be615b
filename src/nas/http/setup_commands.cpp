#include "nas/current_credentials.h"
#include "nas/http/command_bodies.h"
#include "nas/http/command_set.h"
#include "nas/http/command_start.h"
#include "nas/http/http_exchange.h"
#include "nas/replies/share_list.h"
#include "platform/text_codec.h"

namespace corvesta {

namespace {

Ticket StartSetup(WindowHandle window, std::int32_t deviceIndex, CommandIndex index,
                  std::string_view body) {
  return StartHttpCommand(NewCommandQuery(window, QueryKind::SetupCommand, index, deviceIndex),
                          body);
}

} // namespace

Ticket StartChangePassword(WindowHandle window, std::int32_t deviceIndex,
                           std::u16string_view oldPassword, std::u16string_view newPassword) {
  const std::string oldText = Utf16ToUtf8(oldPassword);
  const std::string newText = Utf16ToUtf8(newPassword);
  if (oldText.size() > kCredentialMaxBytes || newText.size() > kCredentialMaxBytes) {
    return 0; // a cut password would not be the one the user typed
  }
  auto query =
      NewCommandQuery(window, QueryKind::SetupCommand, CommandIndex::ChangePassword, deviceIndex);
  CopyToField(query->newPassword, sizeof query->newPassword, newText);
  const Credentials current = CurrentCredentials();
  return StartHttpCommand(std::move(query),
                          body::ChangePassword(current.UserName(), oldText, newText));
}

Ticket StartReadWizardInfo(WindowHandle window, std::int32_t deviceIndex) {
  return StartSetup(window, deviceIndex, CommandIndex::ReadWizard, body::ReadWizard());
}

Ticket StartSetDeviceIdentity(WindowHandle window, std::int32_t deviceIndex,
                              const DeviceIdentity &identity) {
  return StartSetup(window, deviceIndex, CommandIndex::SetDeviceIdentity,
                    body::SetDeviceIdentity(identity));
}

Ticket StartSetTimeZone(WindowHandle window, std::int32_t deviceIndex, std::int32_t zone) {
  return StartSetup(window, deviceIndex, CommandIndex::SetTimeZone, body::SetTimeZone(zone));
}

Ticket StartSetNetwork(WindowHandle window, std::int32_t deviceIndex, const NetSettings &settings) {
  return StartSetup(window, deviceIndex, CommandIndex::SetNetwork, body::SetNetwork(settings));
}

Ticket StartReadLanAddress(WindowHandle window, std::int32_t deviceIndex) {
  return StartSetup(window, deviceIndex, CommandIndex::ReadLanAddress, body::ReadLanAddress());
}

Ticket StartLockAddress(WindowHandle window, std::int32_t deviceIndex) {
  return StartSetup(window, deviceIndex, CommandIndex::LockAddress, body::LockAddress());
}

Ticket StartReadShareList(WindowHandle window, std::int32_t deviceIndex, std::int32_t usbFlag) {
  const QueryKind kind = usbFlag == 1 ? QueryKind::ShareList : QueryKind::SetupCommand;
  const Credentials current = CurrentCredentials();
  ShareList::Instance().Clear();
  return StartHttpCommand(NewCommandQuery(window, kind, CommandIndex::ReadShareList, deviceIndex),
                          body::ReadShareList(current.UserName(), usbFlag));
}

Ticket StartReadDiskInfo(WindowHandle window, std::int32_t deviceIndex) {
  return StartSetup(window, deviceIndex, CommandIndex::ReadDiskInfo, {});
}

} // namespace corvesta
