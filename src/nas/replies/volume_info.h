#pragma once
// One volume of a box, a node of the volume list that the volume list reply
// fills. The caller allocates and keeps the first node; each further volume
// hangs on the node before it, which owns it.

#include <cstdint>
#include <memory>

namespace corvesta {

struct VolumeInfo {
  std::int32_t volume = 0; // the volume's number
  std::int64_t total = 0;  // total size, as the box reports it
  std::int64_t used = 0;   // used size, as the box reports it
  std::unique_ptr<VolumeInfo> next;
};

} // namespace corvesta
