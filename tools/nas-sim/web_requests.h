#pragma once
// What a box answers to each request of its web service: the CGI commands,
// the two XML files and the redirect page.

#include <string>

#include "http_message.h"
#include "sim_box.h"

namespace corvesta::sim {

class Simulator;

// Answers one request for `box` from the peer at `peerIp`, changing the box's
// state as the box would.
HttpReply HandleWebRequest(Simulator &simulator, SimBox &box, const HttpRequest &request,
                           const std::string &peerIp);

} // namespace corvesta::sim
