#include "unique_fd.h"

#include <unistd.h>

namespace corvesta::sim {

void UniqueFd::Reset(int fd) {
  if (m_fd >= 0) {
    ::close(m_fd);
  }
  m_fd = fd;
}

} // namespace corvesta::sim
