#include "cli/json_writer.h"

#include <cstdio>

#include "platform/text_codec.h"

namespace corvesta::cli {

std::string JsonText(std::string_view utf8) {
  // A round trip through UTF-16 replaces every ill-formed sequence.
  const std::string text = Utf16ToUtf8(Utf8ToUtf16(utf8));
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
    case '"':
      out += "\\\"";
      break;
    case '\\':
      out += "\\\\";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    case '\t':
      out += "\\t";
      break;
    default:
      if (byte < 0x20) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
        out += escaped;
      } else {
        out += c;
      }
    }
  }
  out += '"';
  return out;
}

JsonObject &JsonObject::Text(std::string_view key, std::string_view value) {
  return Raw(key, JsonText(value));
}
JsonObject &JsonObject::Number(std::string_view key, std::int64_t value) {
  return Raw(key, std::to_string(value));
}
JsonObject &JsonObject::Bool(std::string_view key, bool value) {
  return Raw(key, value ? "true" : "false");
}
JsonObject &JsonObject::Null(std::string_view key) {
  return Raw(key, "null");
}
JsonObject &JsonObject::Raw(std::string_view key, std::string_view json) {
  m_members.push_back(JsonText(key) + ": " + std::string(json));
  return *this;
}

std::string JsonObject::Str() const {
  std::string out = "{";
  for (std::size_t i = 0; i < m_members.size(); ++i) {
    out += (i ? ", " : "") + m_members[i];
  }
  return out + "}";
}

std::string JsonArray(const std::vector<std::string> &values, bool oneLine) {
  if (values.empty()) {
    return "[]";
  }
  if (oneLine) {
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
      out += (i ? ", " : "") + values[i];
    }
    return out + "]";
  }
  std::string out = "[\n";
  for (std::size_t i = 0; i < values.size(); ++i) {
    out += "  " + values[i] + (i + 1 < values.size() ? ",\n" : "\n");
  }
  return out + "]";
}

} // namespace corvesta::cli
