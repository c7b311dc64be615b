#include "nas/replies/volume_lines.h"

#include "nas/box_protocol.h"
#include "platform/text_codec.h"

namespace corvesta {

namespace {

constexpr int kMaxSpecs = 2;

template <std::size_t N> std::string_view Text(const char (&field)[N]) {
  return FieldText(field, N);
}

std::string Line(const VolumeSpec &spec) {
  const std::string number = std::to_string(spec.volumeNumber);
  const std::string size = std::to_string(spec.size);
  const std::string firstFlag = std::to_string(spec.firstFlag);
  const std::string secondFlag = std::to_string(spec.secondFlag);
  const std::string_view values[] = {number,
                                     Text(spec.mode),
                                     Text(spec.fileSystem),
                                     size,
                                     Text(spec.disks),
                                     "none",
                                     firstFlag,
                                     "1",
                                     size,
                                     "0",
                                     "none",
                                     secondFlag,
                                     "0",
                                     "0",
                                     "null"};
  std::string line;
  for (std::string_view value : values) {
    if (!line.empty()) {
      line += ',';
    }
    line += value;
  }
  return line;
}

} // namespace

std::optional<std::string> FormatVolumeLines(const VolumeSpec &first) {
  std::string lines;
  int count = 0;
  for (const VolumeSpec *spec = &first; spec != nullptr; spec = spec->next) {
    if (++count > kMaxSpecs) {
      return std::nullopt;
    }
    const std::string line = Line(*spec);
    if (line.size() >= box::kVolumeLineArea) {
      return std::nullopt;
    }
    if (!lines.empty()) {
      lines += ',';
    }
    lines += line;
  }
  if (lines.size() > box::kMaxVolumeLinesBytes) {
    return std::nullopt;
  }
  return lines;
}

} // namespace corvesta
