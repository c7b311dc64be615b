#include "http_message.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace corvesta::sim {

namespace {

constexpr std::size_t kOversizePadding = 5000; // more than the client's 4096-byte buffer
constexpr const char *kFourByteSample = "\xF0\x9F\x93\x81"; // U+1F4C1

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

// Where the body's content starts: after an XML declaration when there is one.
std::size_t AfterDeclaration(const std::string &body) {
  if (body.rfind("<?xml", 0) == 0) {
    const std::size_t end = body.find("?>");
    if (end != std::string::npos) {
      return end + 2;
    }
  }
  return 0;
}

} // namespace

std::string HttpRequest::Header(std::string_view name) const {
  for (const auto &[key, value] : headers) {
    if (EqualsNoCase(key, name)) {
      return value;
    }
  }
  return {};
}

bool HttpRequest::HasHeader(std::string_view name) const {
  return std::any_of(headers.begin(), headers.end(),
                     [name](const auto &header) { return EqualsNoCase(header.first, name); });
}

ParseStatus ParseHttpRequest(std::string_view bytes, HttpRequest &request, std::string &error) {
  const std::size_t headerEnd = bytes.find("\r\n\r\n");
  if (headerEnd == std::string_view::npos) {
    if (bytes.size() > kMaxHeaderBytes) {
      error = "the header block exceeds " + std::to_string(kMaxHeaderBytes) + " bytes";
      return ParseStatus::kBad;
    }
    return ParseStatus::kIncomplete;
  }
  request = HttpRequest{};
  std::string_view head = bytes.substr(0, headerEnd);
  const std::size_t lineEnd = head.find("\r\n");
  const std::string_view requestLine = head.substr(0, lineEnd);
  const std::size_t firstSpace = requestLine.find(' ');
  const std::size_t secondSpace =
      firstSpace == std::string_view::npos ? firstSpace : requestLine.find(' ', firstSpace + 1);
  if (secondSpace == std::string_view::npos) {
    error = "the request line is not \"METHOD TARGET VERSION\"";
    return ParseStatus::kBad;
  }
  request.method = std::string(requestLine.substr(0, firstSpace));
  request.target = std::string(requestLine.substr(firstSpace + 1, secondSpace - firstSpace - 1));
  request.version = std::string(requestLine.substr(secondSpace + 1));
  if (request.version.rfind("HTTP/", 0) != 0 || request.target.empty()) {
    error = "the request line is not \"METHOD TARGET VERSION\"";
    return ParseStatus::kBad;
  }
  const std::size_t question = request.target.find('?');
  request.path = request.target.substr(0, question);
  request.query = question == std::string::npos ? "" : request.target.substr(question + 1);

  std::string_view rest = lineEnd == std::string_view::npos ? "" : head.substr(lineEnd + 2);
  while (!rest.empty()) {
    const std::size_t end = rest.find("\r\n");
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? "" : rest.substr(end + 2);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) {
      error = "a header line without a name and a colon";
      return ParseStatus::kBad;
    }
    request.headers.emplace_back(std::string(line.substr(0, colon)),
                                 std::string(Trim(line.substr(colon + 1))));
  }

  std::size_t bodyLength = 0;
  if (request.HasHeader("Content-Length")) {
    const std::string text = request.Header("Content-Length");
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), bodyLength);
    if (ec != std::errc() || end != text.data() + text.size()) {
      error = "Content-Length is not a number: \"" + text + "\"";
      return ParseStatus::kBad;
    }
    if (bodyLength > kMaxBodyBytes) {
      error = "the body exceeds " + std::to_string(kMaxBodyBytes) + " bytes";
      return ParseStatus::kBad;
    }
  }
  const std::size_t bodyStart = headerEnd + 4;
  if (bytes.size() - bodyStart < bodyLength) {
    return ParseStatus::kIncomplete;
  }
  request.body = std::string(bytes.substr(bodyStart, bodyLength));
  return ParseStatus::kComplete;
}

std::string_view ReasonPhrase(int status) {
  switch (status) {
  case 200:
    return "OK";
  case 301:
    return "Moved Permanently";
  case 302:
    return "Found";
  case 400:
    return "Bad Request";
  case 401:
    return "Unauthorized";
  case 403:
    return "Forbidden";
  case 404:
    return "Not Found";
  case 405:
    return "Method Not Allowed";
  case 413:
    return "Payload Too Large";
  case 500:
    return "Internal Server Error";
  case 503:
    return "Service Unavailable";
  default:
    return "Status";
  }
}

std::string ComposeResponse(const HttpReply &reply, const HttpFault &fault) {
  std::string body = reply.body;
  if (reply.xml && fault.utf8FourByte) {
    body.insert(AfterDeclaration(body), std::string("<!-- ") + kFourByteSample + " -->");
  }
  if (reply.xml && fault.brokenXml) {
    // The root is never closed.
    const std::size_t lastClose = body.rfind("</");
    body =
        body.substr(0, lastClose == std::string::npos ? body.size() / 2 : lastClose) + "<unclosed";
  }
  if (!fault.oversize.empty()) {
    const std::string padding = "<!-- " + std::string(kOversizePadding, 'x') + " -->";
    body.insert(fault.oversize == "before" ? AfterDeclaration(body) : body.size(), padding);
  }
  const int status = fault.status != 200 ? fault.status : reply.status;
  std::string text = std::string(fault.http11 ? "HTTP/1.1 " : "HTTP/1.0 ") +
                     std::to_string(status) + " " + std::string(ReasonPhrase(status)) + "\r\n";
  text += "Content-Type: " + reply.contentType + "\r\n";
  text += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  for (const auto &[name, value] : reply.extraHeaders) {
    text += name + ": " + value + "\r\n";
  }
  text += "Connection: close\r\n\r\n";
  text += body;
  return text;
}

} // namespace corvesta::sim
