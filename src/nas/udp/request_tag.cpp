#include "nas/udp/request_tag.h"

#include <sys/random.h>

#include <cerrno>
#include <random>

#include "worker/guarded_value.h"

namespace corvesta {

namespace {

GuardedValue<RequestTag> g_current;

bool FillFromSystem(std::uint8_t *out, std::size_t size) {
  std::size_t filled = 0;
  while (filled < size) {
    ssize_t got = getrandom(out + filled, size - filled, 0);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    filled += static_cast<std::size_t>(got);
  }
  return true;
}

} // namespace

RequestTag NewRequestTag() {
  RequestTag tag;
  if (!FillFromSystem(tag.bytes.data(), kRequestTagRandomBytes)) {
    std::random_device device;
    for (std::size_t i = 0; i < kRequestTagRandomBytes; ++i) {
      tag.bytes[i] = static_cast<std::uint8_t>(device() & 0xFFu);
    }
  }
  return tag;
}

RequestTag CurrentRequestTag() {
  return g_current.Get();
}

void SetCurrentRequestTag(const RequestTag &tag) {
  g_current.Set(tag);
}

} // namespace corvesta
