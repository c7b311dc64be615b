#pragma once
// HTTP requests as the boxes' web service reads them, and the replies it
// writes.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "faults.h"

namespace corvesta::sim {

inline constexpr std::size_t kMaxHeaderBytes = 16 * 1024;
inline constexpr std::size_t kMaxBodyBytes = 64 * 1024;

struct HttpRequest {
  std::string method;
  std::string target;  // as sent, query included
  std::string path;    // target before "?"
  std::string query;   // target after "?"
  std::string version; // "HTTP/1.0"
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // The first header of that name, compared regardless of case; empty when absent.
  std::string Header(std::string_view name) const;
  bool HasHeader(std::string_view name) const;
};

enum class ParseStatus { kIncomplete, kComplete, kBad };

// Reads a request from the bytes received so far. kComplete once the header
// block and Content-Length bytes of body are there (bytes beyond are left
// alone); kBad, with `error`, for a request no box would read.
ParseStatus ParseHttpRequest(std::string_view bytes, HttpRequest &request, std::string &error);

struct HttpReply {
  int status = 200;
  std::string contentType = "text/xml; charset=utf-8";
  std::string body;
  bool xml = true;      // the body is an XML document
  std::string faultKey; // the command name the fault switches are looked up by
  std::vector<std::pair<std::string, std::string>> extraHeaders;
};

// Status line, headers and body, with the fault switches that change bytes
// (version, status, broken XML, four-byte UTF-8, oversize) applied.
std::string ComposeResponse(const HttpReply &reply, const HttpFault &fault);

// Reason phrase for a status code.
std::string_view ReasonPhrase(int status);

} // namespace corvesta::sim
