#include "form_body.h"

namespace corvesta::sim {

namespace {
constexpr std::string_view kCmdPrefix = "cmd=";

void Splits(std::string_view rest, const std::vector<std::string_view> &keys, std::size_t index,
            std::vector<std::string> &current, std::vector<std::vector<std::string>> &out) {
  // `rest` starts right after "<keys[index]>=".
  if (index + 1 == keys.size()) {
    current.emplace_back(rest);
    out.push_back(current);
    current.pop_back();
    return;
  }
  const std::string marker = "&" + std::string(keys[index + 1]) + "=";
  for (std::size_t at = rest.find(marker); at != std::string_view::npos;
       at = rest.find(marker, at + 1)) {
    current.emplace_back(rest.substr(0, at));
    Splits(rest.substr(at + marker.size()), keys, index + 1, current, out);
    current.pop_back();
  }
}

// The text after "cmd=NAME&<first key>=", or nothing.
std::optional<std::string_view> AfterFirstKey(std::string_view body, std::string_view firstKey) {
  const auto name = CommandName(body);
  if (!name) {
    return std::nullopt;
  }
  const std::string lead = std::string(kCmdPrefix) + *name + "&" + std::string(firstKey) + "=";
  if (body.substr(0, lead.size()) != lead) {
    return std::nullopt;
  }
  return body.substr(lead.size());
}
} // namespace

std::optional<std::string> CommandName(std::string_view body) {
  if (body.substr(0, kCmdPrefix.size()) != kCmdPrefix) {
    return std::nullopt;
  }
  const std::string_view rest = body.substr(kCmdPrefix.size());
  return std::string(rest.substr(0, rest.find('&')));
}

std::vector<std::vector<std::string>> AllFormSplits(std::string_view body,
                                                    const std::vector<std::string_view> &keys) {
  std::vector<std::vector<std::string>> out;
  if (keys.empty()) {
    return out;
  }
  const auto rest = AfterFirstKey(body, keys.front());
  if (!rest) {
    return out;
  }
  std::vector<std::string> current;
  Splits(*rest, keys, 0, current, out);
  return out;
}

std::optional<std::vector<std::string>>
FormValues(std::string_view body, const std::vector<std::string_view> &keys, std::string &error) {
  if (keys.empty()) {
    return std::vector<std::string>{};
  }
  auto splits = AllFormSplits(body, keys);
  if (splits.empty()) {
    std::string expected = "cmd=...";
    for (const std::string_view key : keys) {
      expected += "&" + std::string(key) + "=...";
    }
    error = "the body does not have the fields " + expected;
    return std::nullopt;
  }
  return std::move(splits.front()); // each value cut at the first next key
}

} // namespace corvesta::sim
