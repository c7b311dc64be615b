#pragma once
// Fault switches of one box: ways in which it misbehaves on request.

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace corvesta::sim {

// How the box answers one kind of datagram ("probe", "cred_check",
// "set_address"; "*" applies to all).
struct UdpFault {
  bool silent = false;     // no answer at all
  bool staleTag = false;   // the tag echo differs from the request's
  bool wrongModel = false; // probe replies carry other model bytes
  bool unicast = false;    // answer to the sender's address, port 13579, not the group
  int delayMs = 0;         // answer this late
};

// How the box answers one web command (the cmd value, "login", "logout", or
// the file name of an XML path such as "dm_read_state.xml"; "*" applies to all).
struct HttpFault {
  bool http11 = false;       // status line says HTTP/1.1
  int status = 200;          // status code sent instead of 200
  int delayMs = 0;           // pause before the first byte of the reply
  int segmentBytes = 0;      // send the reply in pieces of this size
  int segmentDelayMs = 0;    // pause between the pieces
  bool keepOpen = false;     // do not close after the reply
  int keepOpenMs = 15000;    // how long a kept connection stays open at most
  bool brokenXml = false;    // the body is not well-formed
  bool utf8FourByte = false; // the body carries a four-byte UTF-8 sequence
  std::string oversize; // "", "before" or "after": padding that makes the reply exceed 4096 bytes
  bool drop = false;    // close the connection without any reply
  bool refuse = false;  // a disk step answers res 0 and does nothing
};

struct Faults {
  bool refuseCredentials = false; // every credential check gets verdict 0
  bool noAddressAck = false;      // take address changes but never acknowledge them
  bool refuseConnections = false; // no web listener: connections are refused
  int formatErrcode = 1;          // errcode at the end of a format (1 = no error)
  int formatFailPercent = 100;    // with another errcode, the percent the format ends at
  // Per-request switches as written, keyed by request or command name.
  nlohmann::json udp = nlohmann::json::object();
  nlohmann::json http = nlohmann::json::object();
};

// Reads the "faults" object of a box; on failure returns nothing and sets
// `error`.
std::optional<Faults> FaultsFromJson(const nlohmann::json &json, std::string &error);
nlohmann::json FaultsToJson(const Faults &faults);

// The switches for one request: the "*" entry overlaid by the request's own.
UdpFault UdpFaultFor(const Faults &faults, std::string_view request);
HttpFault HttpFaultFor(const Faults &faults, std::string_view command);

} // namespace corvesta::sim
