#pragma once
// The links that open a box's web centers in the browser with the user
// already logged in, and the network path of a box's share.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvesta {

enum class WebCenter { File, Management, Download, Backup, Surveillance };

struct WebCenterEntry {
  WebCenter center;
  std::string_view word;   // the center's name in lower case, as people type it
  int mode;                // the link's "m"
  bool base64Password;     // "p" holds the Base64 of the password, else the password
  std::string_view suffix; // appended to the link
};

// Every center, in the order File, Management, Download, Backup,
// Surveillance.
std::span<const WebCenterEntry> WebCenters();
const WebCenterEntry &WebCenterOf(WebCenter center);
std::optional<WebCenter> WebCenterFromWord(std::string_view word);

// "http://ADDRESS/web/utility_redirect.html?m=M&u=USER&p=P" and the
// center's suffix. The user name and password are inserted as they are, not
// percent-encoded: the box's redirect page reads them that way.
std::string CenterLink(WebCenter center, std::string_view boxAddress, std::string_view user,
                       std::string_view password);

// "\\ADDRESS\SHARE".
std::u16string ShareNetworkPath(std::u16string_view boxAddress, std::u16string_view share);

} // namespace corvesta
