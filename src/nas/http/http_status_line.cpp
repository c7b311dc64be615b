#include "nas/http/http_status_line.h"

#include "nas/box_protocol.h"

namespace corvesta {

bool StatusLineAccepted(std::string_view reply) {
  constexpr std::string_view kPrefix = "HTTP/";
  if (!reply.starts_with(kPrefix)) {
    return false;
  }
  const std::string_view rest = reply.substr(kPrefix.size());
  const std::size_t blank = rest.find(' ');
  if (blank == std::string_view::npos || rest.substr(0, blank) != box::kHttpVersion) {
    return false;
  }
  std::string_view status = rest.substr(blank + 1);
  status = status.substr(0, status.find_first_of(" \r\n"));
  return status == box::kHttpStatusOk;
}

} // namespace corvesta
