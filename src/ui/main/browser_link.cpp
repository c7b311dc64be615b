#include "ui/main/browser_link.h"

namespace corvesta {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr unsigned char kFirstPrintable = 0x21;
constexpr unsigned char kLastAscii = 0x7E;
constexpr std::string_view kNotInLinks = "\"<>\\^`{|}";

bool HeldAsIs(unsigned char byte) {
  return byte >= kFirstPrintable && byte <= kLastAscii &&
         kNotInLinks.find(static_cast<char>(byte)) == std::string_view::npos;
}

} // namespace

std::string BrowserLink(std::string_view link) {
  std::string out;
  out.reserve(link.size());
  for (const char c : link) {
    const auto byte = static_cast<unsigned char>(c);
    if (HeldAsIs(byte)) {
      out += c;
    } else {
      out += '%';
      out += kHexDigits[byte >> 4];
      out += kHexDigits[byte & 0x0F];
    }
  }
  return out;
}

} // namespace corvesta
