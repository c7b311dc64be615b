// Any file content parses; a value set afterwards reads back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char *>(data), size);
  corvesta::IniDocument document = corvesta::IniDocument::Parse(bytes);
  (void)document.Get(u"Current", u"ServName");
  if (document.Set(u"Current", u"ServName", u"NAS-1")) {
    auto read = corvesta::IniDocument::Parse(document.Serialize()).Get(u"current", u"servname");
    if (!read || *read != u"NAS-1") {
      std::abort();
    }
  }
  return 0;
}
