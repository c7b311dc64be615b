// The page that a web-center link opens: it names the center and the user,
// and whether the password was right.

#include <map>

#include "platform/base64.h"
#include "web_commands.h"
#include "xml_writer.h"

namespace corvesta::sim {

namespace {

struct Center {
  const char *name;
  bool base64Password;
};

const std::map<std::string, Center> &Centers() {
  static const std::map<std::string, Center> centers = {
      {"1", {"File Center", false}},         {"2", {"Management Center", true}},
      {"3", {"Download Center", true}},      {"4", {"Backup Center", true}},
      {"5", {"Surveillance Center", false}},
  };
  return centers;
}

// Query parameters as sent: split at "&" and the first "=", nothing decoded.
std::map<std::string, std::string> QueryParameters(const std::string &query) {
  std::map<std::string, std::string> parameters;
  std::size_t start = 0;
  while (start < query.size()) {
    std::size_t end = query.find('&', start);
    if (end == std::string::npos) {
      end = query.size();
    }
    const std::string part = query.substr(start, end - start);
    const std::size_t equals = part.find('=');
    parameters.emplace(part.substr(0, equals),
                       equals == std::string::npos ? "" : part.substr(equals + 1));
    start = end + 1;
  }
  return parameters;
}

} // namespace

HttpReply RedirectPage(const SimBox &box, const HttpRequest &request) {
  auto parameters = QueryParameters(request.query);
  const auto center = Centers().find(parameters["m"]);
  const std::string &user = parameters["u"];
  std::string verdict = "refused";
  if (center != Centers().end()) {
    const Account *account = box.state.FindAccount(user);
    const std::optional<std::string> password = center->second.base64Password
                                                    ? Base64Decode(parameters["p"])
                                                    : std::optional<std::string>(parameters["p"]);
    if (account != nullptr && password && *password == account->password) {
      verdict = "accepted";
    }
  }
  const std::string centerName = center != Centers().end() ? center->second.name : "unknown";
  HttpReply reply;
  reply.xml = false;
  reply.contentType = "text/html; charset=utf-8";
  reply.faultKey = "utility_redirect.html";
  reply.body = "<!DOCTYPE html>\n<html><head><title>" + EscapeMarkup(box.state.name) +
               "</title></head><body>\n<p id=\"center\">" + EscapeMarkup(centerName) +
               "</p>\n<p id=\"user\">" + EscapeMarkup(user) + "</p>\n<p id=\"login\">" + verdict +
               "</p>\n<p id=\"page\">" + EscapeMarkup(parameters["d"]) + "</p>\n</body></html>\n";
  return reply;
}

} // namespace corvesta::sim
