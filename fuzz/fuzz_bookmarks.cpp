// The file-manager bookmarks file as the drives edit it: any file and any
// drive line (built from a box's texts as a mapping builds it). Every line
// that is not the drive's stays byte for byte; the drive's line is added
// once, at the end, and removed exactly.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "platform/drive_table.h"
#include "platform/gtk_bookmarks.h"

namespace {

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

// The file's lines without their line ends; a last line without one counts.
std::vector<std::string_view> Lines(std::string_view file) {
  std::vector<std::string_view> lines;
  while (!file.empty()) {
    const std::size_t end = file.find('\n');
    lines.push_back(file.substr(0, end));
    file = end == std::string_view::npos ? std::string_view() : file.substr(end + 1);
  }
  return lines;
}

bool Holds(std::string_view file, std::string_view line) {
  for (std::string_view each : Lines(file)) {
    if (each == line) {
      return true;
    }
  }
  return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string share = input.ConsumeRandomLengthString(64);
  const std::string box = input.ConsumeRandomLengthString(64);
  const std::string server = input.ConsumeRandomLengthString(32);
  const char letter = static_cast<char>('A' + input.ConsumeIntegralInRange(0, 25));
  const std::string file = input.ConsumeRemainingBytesAsString();

  const std::string line =
      corvesta::MakeBookmarkLine("smb://anna@" + server + "/" + share, letter, share, box, server);
  // A line the drive records cannot hold (a box's line break) is never
  // written: DriveBook refuses the mapping first.
  corvesta::DriveRecord record;
  record.letter = letter;
  record.server = "s";
  record.share = "s";
  record.bookmark = line;
  if (!corvesta::FitsDriveTable(record)) {
    return 0;
  }

  const std::string added = corvesta::AddBookmarkLine(file, line);
  const std::string removed = corvesta::RemoveBookmarkLine(added, line);
  const std::string cleaned = corvesta::RemoveBookmarkLine(file, line);
  // Added once, at the end; adding again changes nothing.
  const bool held = Holds(file, line);
  const std::string ending = file.empty() || file.back() == '\n' ? "" : "\n";
  Check(added == (held ? file : file + ending + line + "\n"));
  Check(corvesta::AddBookmarkLine(added, line) == added);
  // Removed exactly: no line of it stays.
  Check(!Holds(removed, line));
  Check(!Holds(cleaned, line));
  Check(removed == (held ? cleaned : file + ending));
  // Every other line, byte for byte, in order.
  std::vector<std::string_view> others;
  for (std::string_view each : Lines(file)) {
    if (each != line) {
      others.push_back(each);
    }
  }
  Check(Lines(cleaned) == others);
  Check(held || cleaned == file);
  return 0;
}
