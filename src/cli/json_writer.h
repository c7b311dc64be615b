#pragma once
// A small JSON writer for --json output: objects and arrays built in order,
// texts escaped (control characters as \u00XX; bytes that are not UTF-8
// are replaced, so the output always parses).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvesta::cli {

std::string JsonText(std::string_view utf8);

class JsonObject {
public:
  JsonObject &Text(std::string_view key, std::string_view value);
  JsonObject &Number(std::string_view key, std::int64_t value);
  JsonObject &Bool(std::string_view key, bool value);
  JsonObject &Null(std::string_view key);
  JsonObject &Raw(std::string_view key, std::string_view json); // an already written value
  std::string Str() const;

private:
  std::vector<std::string> m_members;
};

// One value a line at the top level; on one line inside another value.
std::string JsonArray(const std::vector<std::string> &values, bool oneLine = false);

} // namespace corvesta::cli
