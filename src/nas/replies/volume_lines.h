#pragma once
// The f_create_volume_info value of a volume creation: one line of fifteen
// comma-separated values per volume spec, the lines joined by a comma:
//   number,mode,file system,size,disks,none,first flag,1,size,0,none,second flag,0,0,null

#include <optional>
#include <string>

#include "nas/http/request_records.h"

namespace corvesta {

// The lines of `first` and of the spec chained to it. Nothing when the chain
// holds more than two specs or the lines would exceed their limit; the value
// is never cut.
std::optional<std::string> FormatVolumeLines(const VolumeSpec &first);

} // namespace corvesta
