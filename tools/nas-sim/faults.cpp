#include "faults.h"

#include "json_fields.h"

namespace corvesta::sim {

namespace {

bool ParseUdpFault(const nlohmann::json &json, UdpFault &fault, std::string_view where,
                   std::string &error) {
  return OnlyKnownKeys(json, {"silent", "stale_tag", "wrong_model", "unicast", "delay_ms"}, where,
                       error) &&
         ReadBool(json, "silent", fault.silent, where, error) &&
         ReadBool(json, "stale_tag", fault.staleTag, where, error) &&
         ReadBool(json, "wrong_model", fault.wrongModel, where, error) &&
         ReadBool(json, "unicast", fault.unicast, where, error) &&
         ReadInt(json, "delay_ms", fault.delayMs, false, where, error);
}

bool ParseHttpFault(const nlohmann::json &json, HttpFault &fault, std::string_view where,
                    std::string &error) {
  if (!OnlyKnownKeys(json,
                     {"http11", "status", "delay_ms", "segment_bytes", "segment_delay_ms",
                      "keep_open", "keep_open_ms", "broken_xml", "utf8_four_byte", "oversize",
                      "drop", "refuse"},
                     where, error) ||
      !ReadBool(json, "http11", fault.http11, where, error) ||
      !ReadInt(json, "status", fault.status, false, where, error) ||
      !ReadInt(json, "delay_ms", fault.delayMs, false, where, error) ||
      !ReadInt(json, "segment_bytes", fault.segmentBytes, false, where, error) ||
      !ReadInt(json, "segment_delay_ms", fault.segmentDelayMs, false, where, error) ||
      !ReadBool(json, "keep_open", fault.keepOpen, where, error) ||
      !ReadInt(json, "keep_open_ms", fault.keepOpenMs, false, where, error) ||
      !ReadBool(json, "broken_xml", fault.brokenXml, where, error) ||
      !ReadBool(json, "utf8_four_byte", fault.utf8FourByte, where, error) ||
      !ReadText(json, "oversize", fault.oversize, false, where, error) ||
      !ReadBool(json, "drop", fault.drop, where, error) ||
      !ReadBool(json, "refuse", fault.refuse, where, error)) {
    return false;
  }
  if (fault.status < 100 || fault.status > 999) {
    error = std::string(where) + ": \"status\" must be a three-digit code";
    return false;
  }
  if (fault.delayMs < 0 || fault.segmentBytes < 0 || fault.segmentDelayMs < 0 ||
      fault.keepOpenMs < 0) {
    error = std::string(where) + ": times and sizes must not be negative";
    return false;
  }
  if (!fault.oversize.empty() && fault.oversize != "before" && fault.oversize != "after") {
    error = std::string(where) + ": \"oversize\" must be \"before\" or \"after\"";
    return false;
  }
  return true;
}

template <typename Fault, typename Parse>
bool CheckTable(const nlohmann::json &table, std::string_view name, Parse parse,
                std::string &error) {
  if (!table.is_object()) {
    error = "faults: \"" + std::string(name) + "\" must be an object";
    return false;
  }
  for (const auto &item : table.items()) {
    Fault fault;
    const std::string where = "faults." + std::string(name) + "." + item.key();
    if (!parse(item.value(), fault, where, error)) {
      return false;
    }
  }
  return true;
}

template <typename Fault, typename Parse>
Fault Lookup(const nlohmann::json &table, std::string_view name, Parse parse) {
  nlohmann::json merged = nlohmann::json::object();
  if (const auto all = table.find("*"); all != table.end()) {
    merged.merge_patch(*all);
  }
  if (const auto own = table.find(name); own != table.end()) {
    merged.merge_patch(*own);
  }
  Fault fault;
  std::string ignored;
  parse(merged, fault, "faults", ignored); // checked when the state was loaded
  return fault;
}

} // namespace

std::optional<Faults> FaultsFromJson(const nlohmann::json &json, std::string &error) {
  Faults faults;
  const std::string where = "faults";
  if (!OnlyKnownKeys(json,
                     {"refuse_credentials", "no_address_ack", "refuse_connections",
                      "format_errcode", "format_fail_percent", "udp", "http"},
                     where, error) ||
      !ReadBool(json, "refuse_credentials", faults.refuseCredentials, where, error) ||
      !ReadBool(json, "no_address_ack", faults.noAddressAck, where, error) ||
      !ReadBool(json, "refuse_connections", faults.refuseConnections, where, error) ||
      !ReadInt(json, "format_errcode", faults.formatErrcode, false, where, error) ||
      !ReadInt(json, "format_fail_percent", faults.formatFailPercent, false, where, error)) {
    return std::nullopt;
  }
  if (faults.formatFailPercent < 0 || faults.formatFailPercent > 100) {
    error = "faults: \"format_fail_percent\" must be 0 to 100";
    return std::nullopt;
  }
  if (const auto udp = json.find("udp"); udp != json.end()) {
    if (!CheckTable<UdpFault>(*udp, "udp", ParseUdpFault, error)) {
      return std::nullopt;
    }
    for (const auto &item : udp->items()) {
      if (item.key() != "*" && item.key() != "probe" && item.key() != "cred_check" &&
          item.key() != "set_address") {
        error = "faults.udp: \"" + item.key() +
                "\" is not one of \"*\", \"probe\", \"cred_check\", \"set_address\"";
        return std::nullopt;
      }
    }
    faults.udp = *udp;
  }
  if (const auto http = json.find("http"); http != json.end()) {
    if (!CheckTable<HttpFault>(*http, "http", ParseHttpFault, error)) {
      return std::nullopt;
    }
    faults.http = *http;
  }
  return faults;
}

nlohmann::json FaultsToJson(const Faults &faults) {
  return nlohmann::json{{"refuse_credentials", faults.refuseCredentials},
                        {"no_address_ack", faults.noAddressAck},
                        {"refuse_connections", faults.refuseConnections},
                        {"format_errcode", faults.formatErrcode},
                        {"format_fail_percent", faults.formatFailPercent},
                        {"udp", faults.udp},
                        {"http", faults.http}};
}

UdpFault UdpFaultFor(const Faults &faults, std::string_view request) {
  return Lookup<UdpFault>(faults.udp, request, ParseUdpFault);
}

HttpFault HttpFaultFor(const Faults &faults, std::string_view command) {
  return Lookup<HttpFault>(faults.http, command, ParseHttpFault);
}

} // namespace corvesta::sim
