// Any text decodes safely; whatever decodes re-encodes to a text that
// decodes to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/base64.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char *>(data), size);
  if (auto bytes = corvesta::Base64Decode(text)) {
    auto again = corvesta::Base64Decode(corvesta::Base64Encode(*bytes));
    if (!again || *again != *bytes) {
      std::abort();
    }
  }
  return 0;
}
