#include "nas/current_credentials.h"
#include "nas/http/command_bodies.h"
#include "nas/http/command_set.h"
#include "nas/http/command_start.h"
#include "nas/http/http_exchange.h"

namespace corvesta {

Ticket StartReadVolumeList(WindowHandle window, std::int32_t deviceIndex,
                           std::shared_ptr<VolumeInfo> first) {
  auto query =
      NewCommandQuery(window, QueryKind::VolumeList, CommandIndex::ReadVolumeList, deviceIndex);
  query->resultList = std::move(first);
  return StartHttpCommand(std::move(query), body::ReadVolumeList());
}

Ticket StartReadUserAccess(WindowHandle window, std::int32_t deviceIndex) {
  const Credentials current = CurrentCredentials();
  return StartHttpCommand(
      NewCommandQuery(window, QueryKind::UserAccess, CommandIndex::ReadUserAccess, deviceIndex),
      body::ReadUserAccess(current.UserName()));
}

Ticket StartLogIn(WindowHandle window, std::int32_t deviceIndex, std::uint32_t wizardLogin) {
  const Credentials current = CurrentCredentials();
  auto query = NewCommandQuery(window, QueryKind::LoginLogout, CommandIndex::LogIn, deviceIndex);
  query->wizardLogin = wizardLogin;
  return StartHttpCommand(std::move(query), body::LogIn(current.UserName(), current.Password()));
}

Ticket StartLogOut(WindowHandle window, std::int32_t deviceIndex) {
  const Credentials current = CurrentCredentials();
  return StartHttpCommand(
      NewCommandQuery(window, QueryKind::LoginLogout, CommandIndex::LogOut, deviceIndex),
      body::LogOut(current.UserName()));
}

Ticket StartLogOutAt(WindowHandle window, std::int32_t deviceIndex, std::string_view address) {
  if (address.empty()) {
    return 0;
  }
  const Credentials current = CurrentCredentials();
  return StartHttpCommand(
      NewCommandQuery(window, QueryKind::LoginLogout, CommandIndex::LogOut, deviceIndex),
      body::LogOut(current.UserName()), address);
}

} // namespace corvesta
