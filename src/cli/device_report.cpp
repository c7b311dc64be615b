#include "cli/device_report.h"

#include "cli/box_selection.h"
#include "cli/json_writer.h"
#include "cli/text_output.h"
#include "cli/visible_text.h"
#include "nas/udp/subnet.h"

namespace corvesta::cli {

namespace {
// Every field of a probe reply is the box's text.
template <std::size_t N> std::string Shown(const char (&field)[N]) {
  return VisibleText(FieldString(field));
}
} // namespace

std::string DeviceLine(const NasDevice &device, const AdapterTable &adapters) {
  const std::string gateway = Shown(device.gateway);
  std::string line = Shown(device.name);
  line += "  ip " + Shown(device.ip);
  line += "  mask " + Shown(device.netmask);
  line += "  gateway " + (gateway.empty() ? std::string("-") : gateway);
  line += FieldString(device.dhcp) == "1" ? "  dhcp" : "  static";
  line += "  " + Shown(device.mac);
  line += IsInAdapterSubnet(device, adapters) ? "  in subnet" : "  NOT in this PC's subnet";
  if (device.ambiguous != 0) {
    line += "  WARNING: this hardware address also answers from " + Shown(device.other_ip) +
            "; name the NAS by its address";
  }
  return line;
}

std::string DeviceJson(const NasDevice &device, const AdapterTable &adapters) {
  JsonObject object;
  object.Text("name", FieldString(device.name))
      .Text("ip", FieldString(device.ip))
      .Text("netmask", FieldString(device.netmask))
      .Text("gateway", FieldString(device.gateway))
      .Bool("dhcp", FieldString(device.dhcp) == "1")
      .Text("mac", FieldString(device.mac))
      .Text("adapter", AdapterAddress(device, adapters))
      .Bool("in_subnet", IsInAdapterSubnet(device, adapters));
  if (device.ambiguous != 0) {
    object.Text("also_answers_from", FieldString(device.other_ip));
  }
  return object.Str();
}

} // namespace corvesta::cli
