// discover and set-ip: the commands that need no login.

#include "cli/address_change_flow.h"
#include "cli/box_selection.h"
#include "cli/commands.h"
#include "cli/device_report.h"
#include "cli/json_writer.h"
#include "cli/login_session.h"
#include "cli/text_output.h"

namespace corvesta::cli {

ExitStatus RunDiscover(Context &context) {
  if (!context.args.words.empty()) {
    Err("discover takes no NAS name.");
    return ExitStatus::Usage;
  }
  std::optional<FoundBoxes> found = DiscoverBoxes(context.window);
  if (!found) {
    return ExitStatus::Failed;
  }
  if (context.args.Has("json")) {
    std::vector<std::string> objects;
    for (const NasDevice &device : found->devices) {
      objects.push_back(DeviceJson(device, found->adapters));
    }
    Out(JsonArray(objects));
    return ExitStatus::Success;
  }
  if (found->devices.empty()) {
    Err("No NAS answered.");
  }
  for (const NasDevice &device : found->devices) {
    Out(DeviceLine(device, found->adapters));
  }
  return ExitStatus::Success;
}

ExitStatus RunSetIp(Context &context) {
  if (!HasAddressOptions(context.args)) {
    Err("Give either --dhcp or --static.");
    return ExitStatus::Usage;
  }
  if (ExitStatus refused = ExitStatus::Usage; !AddressOptionsUsable(context.args, refused)) {
    return refused;
  }
  // As in the windows: the box takes a new address only from the
  // administrator whose password it has just accepted.
  LoginSession session(context);
  session.RequireAdministrator();
  session.CheckOnly();
  if (const ExitStatus opened = session.Open(); opened != ExitStatus::Success) {
    return opened;
  }
  const AddressChangeRun run =
      ChangeBoxAddress(context, BoxChoice{session.Index(), session.Device()},
                       [] { Out("The NAS has taken its new address settings."); });
  if (run.status != ExitStatus::Success) {
    return run.status;
  }
  // The box is looked for again, as the list is refreshed after a new address.
  switch (run.search.result) {
  case AddressChangeResult::Found:
    Out(DeviceLine(run.search.device, run.search.adapters));
    return ExitStatus::Success;
  case AddressChangeResult::NotFoundYet:
    Err("The NAS did not answer the next search yet; search again in a moment.");
    return ExitStatus::Success;
  default:
    if (!run.search.message.empty()) {
      Err(Tr(run.search.message));
    }
    return ExitStatus::Failed;
  }
}

} // namespace corvesta::cli
