// Any drive records file parses or is refused whole; what parses holds
// together: every record fits the file, is written back in letter order and
// reads back the same, and writing it again changes nothing.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/drive_table.h"
#include "platform/network_drives.h"

using corvesta::DriveRecord;

namespace {

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

bool Same(const DriveRecord &a, const DriveRecord &b) {
  return a.letter == b.letter && a.server == b.server && a.share == b.share && a.user == b.user &&
         a.box == b.box && a.folder == b.folder && a.bookmark == b.bookmark;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  std::optional<std::vector<DriveRecord>> parsed = corvesta::ParseDriveTable(text);
  if (!parsed) {
    return 0;
  }
  std::vector<DriveRecord> records = std::move(*parsed);
  for (const DriveRecord &record : records) {
    Check(corvesta::FitsDriveTable(record));
    Check(corvesta::IsDriveLetter(record.letter));
    Check(!record.server.empty() && !record.share.empty());
  }
  const std::string written = corvesta::SerializeDriveTable(records);
  std::optional<std::vector<DriveRecord>> again = corvesta::ParseDriveTable(written);
  Check(again.has_value());
  std::sort(records.begin(), records.end(),
            [](const DriveRecord &a, const DriveRecord &b) { return a.letter < b.letter; });
  Check(again->size() == records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    Check(Same((*again)[i], records[i]));
  }
  Check(corvesta::SerializeDriveTable(*again) == written);
  return 0;
}
