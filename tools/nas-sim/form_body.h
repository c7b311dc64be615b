#pragma once
// The form bodies of the CGI commands: "cmd=NAME&key1=v1&key2=v2...". Values
// arrive exactly as typed (no percent-encoding), so a password may itself
// hold "&" or "="; values are therefore cut at the next expected key, in the
// command's fixed order, rather than at every "&".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvesta::sim {

// The command name: the text after "cmd=" up to the first "&". Nothing when
// the body does not begin with "cmd=".
std::optional<std::string> CommandName(std::string_view body);

// The values of `keys`, which must follow the command name in this order.
// Each value runs to the first "&<next key>=" after it; the last to the end.
// Nothing, with `error`, when a key is missing or out of order.
std::optional<std::vector<std::string>>
FormValues(std::string_view body, const std::vector<std::string_view> &keys, std::string &error);

// Every way of cutting `text` into the values of `keys` (for a body whose
// values may contain the next key): each result a full set of values.
std::vector<std::vector<std::string>> AllFormSplits(std::string_view body,
                                                    const std::vector<std::string_view> &keys);

} // namespace corvesta::sim
