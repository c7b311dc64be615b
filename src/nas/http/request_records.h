#pragma once
// The records that callers hand to the commands that write a box's
// settings. Texts are UTF-8 and zero-terminated within their fields.

#include <cstdint>

namespace corvesta {

// Set device identity.
struct DeviceIdentity {
  char hostname[16] = {};
  char workgroup[16] = {};
  char description[31] = {};
};

// Set network.
struct NetSettings {
  std::int32_t dhcp = 0; // 1 DHCP, 0 static
  char ip[16] = {};
  char netmask[16] = {};
  char gateway[16] = {};
  char dns1[16] = {};
  char dns2[16] = {};
};

// Create volumes: one spec per volume, at most two chained by `next`.
struct VolumeSpec {
  std::int32_t autoSync = 0;        // read from the first spec only
  std::int32_t volumeNumber = 0;    // value 1 of the volume's line
  char mode[15] = {};               // value 2
  char fileSystem[10] = {};         // value 3
  std::int32_t size = 0;            // values 4 and 9
  char disks[10] = {};              // value 5
  std::int32_t firstFlag = 0;       // value 7
  std::int32_t secondFlag = 0;      // value 12
  const VolumeSpec *next = nullptr; // the second volume, not owned
};

} // namespace corvesta
