#include "box_state.h"

#include <set>

#include "json_fields.h"
#include "udp_datagrams.h"

namespace corvesta::sim {

namespace {

constexpr std::int64_t kDiskMaxGib = std::int64_t{1} << 30; // keeps sizes in KiB far from overflow
constexpr int kFormatMaxSeconds = 24 * 60 * 60;

bool CheckAddress(const std::string &text, bool mayBeEmpty, std::string_view where,
                  std::string_view key, std::string &error) {
  if (text.empty() && mayBeEmpty) {
    return true;
  }
  if (!ParseIpv4(text)) {
    error = std::string(where) + ": \"" + std::string(key) + "\" is not an IPv4 address: \"" +
            text + "\"";
    return false;
  }
  return true;
}

bool CheckLength(const std::string &text, std::size_t maxBytes, std::string_view where,
                 std::string_view key, std::string &error) {
  if (text.size() > maxBytes) {
    error = std::string(where) + ": \"" + std::string(key) + "\" is longer than " +
            std::to_string(maxBytes) + " bytes";
    return false;
  }
  return true;
}

bool ReadArray(const nlohmann::json &object, std::string_view key, const nlohmann::json *&out,
               std::string_view where, std::string &error) {
  out = nullptr;
  const auto it = object.find(key);
  if (it == object.end()) {
    return true;
  }
  if (!it->is_array()) {
    error = std::string(where) + ": \"" + std::string(key) + "\" must be a list";
    return false;
  }
  out = &*it;
  return true;
}

bool ReadAccounts(const nlohmann::json &json, Box &box, const std::string &where,
                  std::string &error) {
  const nlohmann::json *list = nullptr;
  if (!ReadArray(json, "accounts", list, where, error)) {
    return false;
  }
  if (list == nullptr || list->empty()) {
    error = where + ": \"accounts\" must list at least one account";
    return false;
  }
  for (std::size_t i = 0; i < list->size(); ++i) {
    const std::string at = where + ".accounts[" + std::to_string(i) + "]";
    Account account;
    const nlohmann::json &item = (*list)[i];
    if (!OnlyKnownKeys(item, {"user", "password", "access"}, at, error) ||
        !ReadText(item, "user", account.user, true, at, error) ||
        !ReadText(item, "password", account.password, true, at, error) ||
        !ReadText(item, "access", account.access, false, at, error) ||
        !CheckLength(account.user, kAuthMaxBytes, at, "user", error) ||
        !CheckLength(account.password, kAuthMaxBytes, at, "password", error)) {
      return false;
    }
    if (account.user.empty()) {
      error = at + ": \"user\" is empty";
      return false;
    }
    if (box.FindAccount(account.user) != nullptr) {
      error = at + ": user \"" + account.user + "\" is listed twice";
      return false;
    }
    box.accounts.push_back(std::move(account));
  }
  return true;
}

bool ReadDisks(const nlohmann::json &json, Box &box, const std::string &where, std::string &error) {
  const nlohmann::json *list = nullptr;
  if (!ReadArray(json, "disks", list, where, error)) {
    return false;
  }
  if (list == nullptr) {
    return true;
  }
  for (std::size_t i = 0; i < list->size(); ++i) {
    const std::string at = where + ".disks[" + std::to_string(i) + "]";
    Disk disk;
    const nlohmann::json &item = (*list)[i];
    if (!OnlyKnownKeys(item, {"device", "size_gib"}, at, error) ||
        !ReadText(item, "device", disk.device, true, at, error) ||
        !ReadInt(item, "size_gib", disk.sizeGib, true, at, error) ||
        !CheckLength(disk.device, kDiskNameMaxBytes, at, "device", error)) {
      return false;
    }
    if (disk.device.empty() || disk.sizeGib <= 0 || disk.sizeGib > kDiskMaxGib) {
      error = at + ": a disk needs a device name and a size of 1 to " +
              std::to_string(kDiskMaxGib) + " GiB";
      return false;
    }
    box.disks.push_back(std::move(disk));
  }
  return true;
}

bool ReadVolumes(const nlohmann::json &json, Box &box, const std::string &where,
                 std::string &error) {
  const nlohmann::json *list = nullptr;
  if (!ReadArray(json, "volumes", list, where, error)) {
    return false;
  }
  if (list == nullptr) {
    return true;
  }
  for (std::size_t i = 0; i < list->size(); ++i) {
    const std::string at = where + ".volumes[" + std::to_string(i) + "]";
    Volume volume;
    const nlohmann::json &item = (*list)[i];
    if (!OnlyKnownKeys(item, {"volume", "mode", "file_system", "disks", "total_kib", "used_kib"},
                       at, error) ||
        !ReadInt(item, "volume", volume.number, true, at, error) ||
        !ReadText(item, "mode", volume.mode, false, at, error) ||
        !ReadText(item, "file_system", volume.fileSystem, false, at, error) ||
        !ReadText(item, "disks", volume.disks, false, at, error) ||
        !ReadInt(item, "total_kib", volume.totalKib, true, at, error) ||
        !ReadInt(item, "used_kib", volume.usedKib, false, at, error)) {
      return false;
    }
    box.volumes.push_back(std::move(volume));
  }
  return true;
}

bool ReadShares(const nlohmann::json &json, Box &box, const std::string &where,
                std::string &error) {
  const nlohmann::json *list = nullptr;
  if (!ReadArray(json, "shares", list, where, error)) {
    return false;
  }
  if (list == nullptr) {
    return true;
  }
  for (std::size_t i = 0; i < list->size(); ++i) {
    const std::string at = where + ".shares[" + std::to_string(i) + "]";
    Share share;
    const nlohmann::json &item = (*list)[i];
    const nlohmann::json *users = nullptr;
    if (!OnlyKnownKeys(item, {"name", "usb", "users"}, at, error) ||
        !ReadText(item, "name", share.name, true, at, error) ||
        !ReadBool(item, "usb", share.usb, at, error) ||
        !ReadArray(item, "users", users, at, error)) {
      return false;
    }
    if (users != nullptr) {
      for (const auto &user : *users) {
        if (!user.is_string()) {
          error = at + ": \"users\" must list texts";
          return false;
        }
        share.users.push_back(user.get<std::string>());
      }
    }
    box.shares.push_back(std::move(share));
  }
  return true;
}

bool ReadSessions(const nlohmann::json &json, Box &box, const std::string &where,
                  std::string &error) {
  const nlohmann::json *list = nullptr;
  if (!ReadArray(json, "sessions", list, where, error)) {
    return false;
  }
  if (list == nullptr) {
    return true;
  }
  for (std::size_t i = 0; i < list->size(); ++i) {
    const std::string at = where + ".sessions[" + std::to_string(i) + "]";
    Session session;
    const nlohmann::json &item = (*list)[i];
    if (!OnlyKnownKeys(item, {"user", "peer"}, at, error) ||
        !ReadText(item, "user", session.user, true, at, error) ||
        !ReadText(item, "peer", session.peer, true, at, error) ||
        !CheckAddress(session.peer, false, at, "peer", error)) {
      return false;
    }
    box.sessions.push_back(std::move(session));
  }
  return true;
}

} // namespace

const Account *Box::FindAccount(std::string_view user) const {
  for (const Account &account : accounts) {
    if (account.user == user) {
      return &account;
    }
  }
  return nullptr;
}

Account *Box::FindAccount(std::string_view user) {
  return const_cast<Account *>(std::as_const(*this).FindAccount(user));
}

std::optional<Box> BoxFromJson(const nlohmann::json &json, std::string &error) {
  Box box;
  std::string where = "box";
  if (json.is_object()) {
    if (const auto name = json.find("name"); name != json.end() && name->is_string()) {
      where = "box \"" + name->get<std::string>() + "\"";
    }
  }
  std::string mac;
  if (!OnlyKnownKeys(json, {"name",           "mac",           "ip",
                            "netmask",        "gateway",       "dhcp",
                            "extra_text",     "workgroup",     "description",
                            "timezone",       "dns1",          "dns2",
                            "accounts",       "disk_count",    "disks",
                            "volumes",        "shares",        "sessions",
                            "format_seconds", "dhcp_lease_ip", "address_grace_ms",
                            "dhcp_wait_ms",   "faults"},
                     where, error) ||
      !ReadText(json, "name", box.name, true, where, error) ||
      !ReadText(json, "mac", mac, true, where, error) ||
      !ReadText(json, "ip", box.ip, true, where, error) ||
      !ReadText(json, "netmask", box.netmask, true, where, error) ||
      !ReadText(json, "gateway", box.gateway, false, where, error) ||
      !ReadBool(json, "dhcp", box.dhcp, where, error) ||
      !ReadText(json, "extra_text", box.extraText, false, where, error) ||
      !ReadText(json, "workgroup", box.workgroup, false, where, error) ||
      !ReadText(json, "description", box.description, false, where, error) ||
      !ReadInt(json, "timezone", box.timezone, false, where, error) ||
      !ReadText(json, "dns1", box.dns1, false, where, error) ||
      !ReadText(json, "dns2", box.dns2, false, where, error) ||
      !ReadInt(json, "format_seconds", box.formatSeconds, false, where, error) ||
      !ReadText(json, "dhcp_lease_ip", box.dhcpLeaseIp, false, where, error) ||
      !ReadInt(json, "address_grace_ms", box.addressGraceMs, false, where, error) ||
      !ReadInt(json, "dhcp_wait_ms", box.dhcpWaitMs, false, where, error)) {
    return std::nullopt;
  }
  if (const auto count = json.find("disk_count"); count != json.end()) {
    int value = 0;
    if (!ReadInt(json, "disk_count", value, true, where, error)) {
      return std::nullopt;
    }
    box.diskCount = value;
  }
  const auto parsedMac = ParseMac(mac);
  if (!parsedMac) {
    error = where + ": \"mac\" is not a hardware address like 00:11:22:33:44:55: \"" + mac + "\"";
    return std::nullopt;
  }
  box.mac = *parsedMac;
  if (box.name.empty() || !CheckLength(box.name, kNameMaxBytes, where, "name", error) ||
      !CheckLength(box.workgroup, kShortTextMaxBytes, where, "workgroup", error) ||
      !CheckLength(box.description, kDescriptionMaxBytes, where, "description", error) ||
      !CheckLength(box.extraText, kReplyExtraTextSize - 1, where, "extra_text", error) ||
      !CheckAddress(box.ip, false, where, "ip", error) ||
      !CheckAddress(box.netmask, false, where, "netmask", error) ||
      !CheckAddress(box.gateway, true, where, "gateway", error) ||
      !CheckAddress(box.dns1, true, where, "dns1", error) ||
      !CheckAddress(box.dns2, true, where, "dns2", error) ||
      !CheckAddress(box.dhcpLeaseIp, true, where, "dhcp_lease_ip", error)) {
    if (box.name.empty() && error.empty()) {
      error = where + ": \"name\" is empty";
    }
    return std::nullopt;
  }
  if (const auto ip = ParseIpv4(box.ip); *ip == 0 || *ip >= 0xE0000000u) {
    error = where + ": \"ip\" must be a unicast address, not " + box.ip;
    return std::nullopt;
  }
  if (box.formatSeconds < 0 || box.formatSeconds > kFormatMaxSeconds || box.addressGraceMs < 0 ||
      box.dhcpWaitMs < 0) {
    error = where + ": times must not be negative, and a format lasts at most a day";
    return std::nullopt;
  }
  if (!ReadAccounts(json, box, where, error) || !ReadDisks(json, box, where, error) ||
      !ReadVolumes(json, box, where, error) || !ReadShares(json, box, where, error) ||
      !ReadSessions(json, box, where, error)) {
    return std::nullopt;
  }
  if (const auto faults = json.find("faults"); faults != json.end()) {
    std::string faultError;
    auto parsed = FaultsFromJson(*faults, faultError);
    if (!parsed) {
      error = where + ": " + faultError;
      return std::nullopt;
    }
    box.faults = std::move(*parsed);
  }
  return box;
}

nlohmann::json BoxToJson(const Box &box) {
  nlohmann::json json{{"name", box.name},
                      {"mac", FormatMac(box.mac)},
                      {"ip", box.ip},
                      {"netmask", box.netmask},
                      {"gateway", box.gateway},
                      {"dhcp", box.dhcp},
                      {"extra_text", box.extraText},
                      {"workgroup", box.workgroup},
                      {"description", box.description},
                      {"timezone", box.timezone},
                      {"dns1", box.dns1},
                      {"dns2", box.dns2},
                      {"format_seconds", box.formatSeconds},
                      {"dhcp_lease_ip", box.dhcpLeaseIp},
                      {"address_grace_ms", box.addressGraceMs},
                      {"dhcp_wait_ms", box.dhcpWaitMs},
                      {"faults", FaultsToJson(box.faults)}};
  if (box.diskCount) {
    json["disk_count"] = *box.diskCount;
  }
  auto &accounts = json["accounts"] = nlohmann::json::array();
  for (const Account &account : box.accounts) {
    accounts.push_back(
        {{"user", account.user}, {"password", account.password}, {"access", account.access}});
  }
  auto &disks = json["disks"] = nlohmann::json::array();
  for (const Disk &disk : box.disks) {
    disks.push_back({{"device", disk.device}, {"size_gib", disk.sizeGib}});
  }
  auto &volumes = json["volumes"] = nlohmann::json::array();
  for (const Volume &volume : box.volumes) {
    volumes.push_back({{"volume", volume.number},
                       {"mode", volume.mode},
                       {"file_system", volume.fileSystem},
                       {"disks", volume.disks},
                       {"total_kib", volume.totalKib},
                       {"used_kib", volume.usedKib}});
  }
  auto &shares = json["shares"] = nlohmann::json::array();
  for (const Share &share : box.shares) {
    shares.push_back({{"name", share.name}, {"usb", share.usb}, {"users", share.users}});
  }
  auto &sessions = json["sessions"] = nlohmann::json::array();
  for (const Session &session : box.sessions) {
    sessions.push_back({{"user", session.user}, {"peer", session.peer}});
  }
  return json;
}

std::optional<std::vector<Box>> BoxesFromJson(const nlohmann::json &json, std::string &error) {
  if (!json.is_object() || !json.contains("boxes") || !json["boxes"].is_array()) {
    error = "the state must be an object with a list \"boxes\"";
    return std::nullopt;
  }
  const nlohmann::json &list = json["boxes"];
  if (list.empty()) {
    error = "the state lists no box";
    return std::nullopt;
  }
  std::vector<Box> boxes;
  std::set<std::string> names;
  std::set<std::string> macs;
  std::set<std::string> addresses;
  for (const auto &item : list) {
    auto box = BoxFromJson(item, error);
    if (!box) {
      return std::nullopt;
    }
    if (!names.insert(box->name).second || !macs.insert(FormatMac(box->mac)).second ||
        !addresses.insert(box->ip).second) {
      error = "box \"" + box->name + "\": name, mac and ip must differ from every other box";
      return std::nullopt;
    }
    boxes.push_back(std::move(*box));
  }
  return boxes;
}

std::optional<std::vector<Box>> BoxesFromText(const std::string &text, std::string &error) {
  nlohmann::json json;
  try {
    json = nlohmann::json::parse(text);
  } catch (const nlohmann::json::exception &e) {
    error = std::string("the state is not valid JSON: ") + e.what();
    return std::nullopt;
  }
  return BoxesFromJson(json, error);
}

} // namespace corvesta::sim
