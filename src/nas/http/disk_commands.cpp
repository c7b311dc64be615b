#include "nas/http/command_bodies.h"
#include "nas/http/command_set.h"
#include "nas/http/command_start.h"
#include "nas/http/http_exchange.h"

namespace corvesta {

namespace {

Ticket StartDisk(WindowHandle window, std::int32_t deviceIndex, CommandIndex index,
                 std::string_view body) {
  return StartHttpCommand(NewCommandQuery(window, QueryKind::DiskCommand, index, deviceIndex),
                          body);
}

} // namespace

Ticket StartStopFileBrowser(WindowHandle window, std::int32_t deviceIndex) {
  return StartDisk(window, deviceIndex, CommandIndex::StopFileBrowser, body::StopFileBrowser());
}

Ticket StartCreateVolumes(WindowHandle window, std::int32_t deviceIndex, const VolumeSpec &specs) {
  const std::optional<std::string> text = body::CreateVolumes(specs);
  if (!text) {
    return 0;
  }
  return StartDisk(window, deviceIndex, CommandIndex::CreateVolumes, *text);
}

Ticket StartReadFormatState(WindowHandle window, std::int32_t deviceIndex) {
  return StartDisk(window, deviceIndex, CommandIndex::ReadFormatState, {});
}

Ticket StartRemountDisks(WindowHandle window, std::int32_t deviceIndex) {
  return StartDisk(window, deviceIndex, CommandIndex::RemountDisks, body::RemountDisks());
}

Ticket StartReadRemountState(WindowHandle window, std::int32_t deviceIndex) {
  return StartDisk(window, deviceIndex, CommandIndex::ReadRemountState, body::ReadRemountState());
}

Ticket StartFinishFormatting(WindowHandle window, std::int32_t deviceIndex) {
  return StartDisk(window, deviceIndex, CommandIndex::FinishFormatting, body::FinishFormatting());
}

} // namespace corvesta
