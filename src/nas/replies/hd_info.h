#pragma once
// The disks of a box as the disk information reply gives them. The parser
// posts a heap copy with WM_DISK_INFO; the receiver takes it back with
// TakeHdInfo, which frees it.

#include <cstdint>
#include <memory>

#include "platform/window_message.h"

namespace corvesta {

struct HdInfo {
  std::int32_t deviceCount = 0;
  char disk1Name[10] = {};
  std::int32_t disk1Size = 0; // GiB
  char disk2Name[10] = {};
  std::int32_t disk2Size = 0; // GiB
};

// The wParam of WM_DISK_INFO for a heap copy, and back. Each copy must be
// taken exactly once.
inline WPARAM HdInfoToWParam(std::unique_ptr<HdInfo> info) {
  return reinterpret_cast<WPARAM>(info.release());
}
inline std::unique_ptr<HdInfo> TakeHdInfo(WPARAM wParam) {
  return std::unique_ptr<HdInfo>(reinterpret_cast<HdInfo *>(wParam));
}

} // namespace corvesta
