#include "nas/http/http_request_builder.h"

#include "nas/box_protocol.h"
#include "nas/device_list.h"
#include "nas/query.h"
#include "platform/base64.h"
#include "platform/text_codec.h"

namespace corvesta {

std::optional<std::string> FormatHttpRequest(std::string_view path, std::string_view host,
                                             std::string_view body,
                                             const Credentials &credentials) {
  std::string authorization(box::kAuthorizationUser);
  authorization += ':';
  authorization += credentials.Password();
  if (authorization.size() > box::kMaxAuthorizationBytes) {
    return std::nullopt;
  }
  std::string text;
  text.reserve(256 + body.size());
  text += "POST ";
  text += path;
  text += " HTTP/1.0\r\nConnection: close\r\nHost: ";
  text += host;
  text += "\r\nContent-Length: ";
  text += std::to_string(body.size());
  text += "\r\nAuthorization: Basic ";
  text += Base64Encode(authorization);
  text += "\r\nContent-Type: application/x-www-form-urlencoded\r\nCookie: username=";
  text += credentials.UserName();
  text += "\r\n\r\n";
  text += body;
  if (text.size() > box::kMaxRequestBytes) {
    return std::nullopt;
  }
  return text;
}

bool BuildHttpRequest(CQuery &query, std::string_view body, std::string_view hostGiven) {
  query.request.clear();
  // The generation first: should the list be rebuilt in between, the
  // generation is stale and nothing is ever written back to the new list.
  const std::uint64_t generation = DeviceList::Instance().Generation();
  const std::optional<NasDevice> device = DeviceList::Instance().At(query.deviceIndex);
  if (!device) {
    return false;
  }
  const std::string_view host =
      hostGiven.empty() ? FieldText(device->ip, sizeof device->ip) : hostGiven;
  if (host.empty() || !CopyToField(query.targetAddress, sizeof query.targetAddress, host)) {
    return false;
  }
  const std::optional<std::string> text =
      FormatHttpRequest(box::EndpointPath(query.commandIndex), host, body, CurrentCredentials());
  if (!text || text->empty()) {
    return false;
  }
  query.request.assign(text->begin(), text->end());
  query.targetPort = box::kHttpPort;
  query.discoveryGeneration = generation;
  return true;
}

} // namespace corvesta
