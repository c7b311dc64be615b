#include "platform/drive_table.h"

#include <algorithm>
#include <array>

#include "platform/network_drives.h"

namespace corvesta {
namespace {

struct Field {
  std::string_view key;
  std::string DriveRecord::*member;
};
constexpr std::array<Field, 6> kFields{{
    {"server", &DriveRecord::server},
    {"share", &DriveRecord::share},
    {"user", &DriveRecord::user},
    {"box", &DriveRecord::box},
    {"folder", &DriveRecord::folder},
    {"bookmark", &DriveRecord::bookmark},
}};

bool FitsLine(std::string_view text) {
  return text.find_first_of(std::string_view("\n\r\0", 3)) == std::string_view::npos;
}

} // namespace

std::optional<std::vector<DriveRecord>> ParseDriveTable(std::string_view text) {
  std::vector<DriveRecord> records;
  std::vector<bool> seen; // keys seen in the current section
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty()) {
      continue;
    }
    if (line.front() == '[') {
      if (line.size() != 3 || line[2] != ']' || !IsDriveLetter(line[1])) {
        return std::nullopt;
      }
      const char letter = line[1];
      if (std::any_of(records.begin(), records.end(),
                      [&](const DriveRecord &r) { return r.letter == letter; })) {
        return std::nullopt;
      }
      records.push_back(DriveRecord{});
      records.back().letter = letter;
      seen.assign(kFields.size(), false);
      continue;
    }
    const std::size_t equals = line.find('=');
    // A value holds no line end and no zero byte: FitsDriveTable's rule,
    // so that every record read can be written back as it was read.
    if (records.empty() || equals == std::string_view::npos || !FitsLine(line)) {
      return std::nullopt;
    }
    const std::string_view key = line.substr(0, equals);
    const auto field =
        std::find_if(kFields.begin(), kFields.end(), [&](const Field &f) { return f.key == key; });
    if (field == kFields.end()) {
      return std::nullopt;
    }
    const auto index = static_cast<std::size_t>(field - kFields.begin());
    if (seen[index]) {
      return std::nullopt;
    }
    seen[index] = true;
    records.back().*(field->member) = std::string(line.substr(equals + 1));
  }
  for (const DriveRecord &record : records) {
    if (record.server.empty() || record.share.empty()) {
      return std::nullopt;
    }
  }
  return records;
}

bool FitsDriveTable(const DriveRecord &record) {
  if (!IsDriveLetter(record.letter)) {
    return false;
  }
  return std::all_of(kFields.begin(), kFields.end(),
                     [&](const Field &f) { return FitsLine(record.*(f.member)); });
}

std::string SerializeDriveTable(std::vector<DriveRecord> records) {
  std::sort(records.begin(), records.end(),
            [](const DriveRecord &a, const DriveRecord &b) { return a.letter < b.letter; });
  std::string text;
  for (const DriveRecord &record : records) {
    text += '[';
    text += record.letter;
    text += "]\n";
    for (const Field &field : kFields) {
      text += field.key;
      text += '=';
      text += record.*(field.member);
      text += '\n';
    }
  }
  return text;
}

} // namespace corvesta
