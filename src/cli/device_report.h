#pragma once
// How a found box is shown: one line, or one JSON object with the fields
// name, ip, netmask, gateway, dhcp, mac, adapter (the address of this PC's
// adapter that reaches it) and in_subnet.

#include <string>

#include "nas/nas_device.h"
#include "nas/udp/adapter_table.h"

namespace corvesta::cli {

std::string DeviceLine(const NasDevice &device, const AdapterTable &adapters);
std::string DeviceJson(const NasDevice &device, const AdapterTable &adapters);

} // namespace corvesta::cli
