#pragma once
// The drive records file: one section per letter with the mapping's server,
// share (as the box spells it), user, box name, the folder its link points
// to and the file-manager bookmark line written for it. Never a password.
//
//   [Z]
//   server=192.168.1.20
//   share=Public
//   ...
//
// Parsing is strict: a file that is not such a table (unknown lines or keys,
// a letter twice, a section that is not one letter) is refused as a whole,
// so that a writer never replaces what it could not read.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvesta {

struct DriveRecord {
  char letter = 0;
  std::string server;
  std::string share;
  std::string user;
  std::string box;
  std::string folder;   // the link's target; empty when there is no link
  std::string bookmark; // the bookmark line, without its line end
};

// The records in file order, or nothing when the text is not a drive table.
// Empty text is an empty table.
std::optional<std::vector<DriveRecord>> ParseDriveTable(std::string_view text);

// False when a text holds a line break or a zero byte (the file cannot hold
// it) or the letter is not 'A' to 'Z'.
bool FitsDriveTable(const DriveRecord &record);

// The table as text, in letter order. Every record must fit.
std::string SerializeDriveTable(std::vector<DriveRecord> records);

} // namespace corvesta
