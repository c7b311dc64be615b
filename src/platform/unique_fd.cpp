#include "platform/unique_fd.h"

#include <unistd.h>

namespace corvesta {

UniqueFd::~UniqueFd() {
  Reset();
}

UniqueFd &UniqueFd::operator=(UniqueFd &&other) noexcept {
  if (this != &other) {
    Reset();
    m_fd = other.Release();
  }
  return *this;
}

int UniqueFd::Release() {
  const int fd = m_fd;
  m_fd = -1;
  return fd;
}

void UniqueFd::Reset() {
  Close();
}

bool UniqueFd::Close() {
  if (m_fd < 0) {
    return true;
  }
  const int fd = Release();
  // Not retried on EINTR: on Linux the descriptor is gone either way.
  return ::close(fd) == 0;
}

} // namespace corvesta
