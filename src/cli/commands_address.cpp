// discover and set-ip: the commands that need no login.

#include "cli/address_change_flow.h"
#include "cli/box_selection.h"
#include "cli/commands.h"
#include "cli/device_report.h"
#include "cli/json_writer.h"
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
  ExitStatus failure = ExitStatus::Failed;
  auto selected = SelectBox(context.window, context.args.Word(0), failure);
  if (!selected) {
    return failure;
  }
  const ExitStatus changed = ChangeBoxAddress(context, selected->box);
  if (changed != ExitStatus::Success) {
    return changed;
  }
  Out("The NAS has taken its new address settings.");
  // Look for it again, as the list is refreshed after a new address.
  const std::string mac = FieldString(selected->box.device.mac);
  std::optional<FoundBoxes> found = DiscoverBoxes(context.window, mac);
  if (!found) {
    return ExitStatus::Failed;
  }
  BoxLookup lookup = FindBox(found->devices, mac);
  if (!lookup.choice) {
    Err("The NAS did not answer the next search yet; search again in a moment.");
    return ExitStatus::Success;
  }
  Out(DeviceLine(lookup.choice->device, found->adapters));
  return ExitStatus::Success;
}

} // namespace corvesta::cli
