#include "platform/gio/smb_uri.h"

#include <glib.h>

namespace corvesta {

std::string SmbUri(const std::string &server, const std::string &share, const std::string &user) {
  // The share is one path segment: its own '/' is escaped as well.
  gchar *segment = g_uri_escape_string(share.c_str(), nullptr, FALSE);
  const std::string path = std::string("/") + segment;
  g_free(segment);
  gchar *userPart = user.empty() ? nullptr : g_uri_escape_string(user.c_str(), nullptr, FALSE);
  gchar *hostPart = g_uri_escape_string(server.c_str(), "[]:", FALSE);
  gchar *joined = g_uri_join_with_user(G_URI_FLAGS_ENCODED, "smb", userPart, nullptr, nullptr,
                                       hostPart, -1, path.c_str(), nullptr, nullptr);
  std::string uri = joined != nullptr ? joined : "";
  g_free(joined);
  g_free(hostPart);
  g_free(userPart);
  return uri;
}

} // namespace corvesta
