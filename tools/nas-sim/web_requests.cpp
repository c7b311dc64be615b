#include "web_requests.h"

namespace corvesta::sim {

HttpReply HandleWebRequest(Simulator &, SimBox &, const HttpRequest &, const std::string &) {
  HttpReply reply;
  reply.status = 404;
  reply.xml = false;
  reply.body = "not yet\n";
  return reply;
}

} // namespace corvesta::sim
