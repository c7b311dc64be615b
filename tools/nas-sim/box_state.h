#pragma once
// The stored state of one simulated box, as read from and written to JSON.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "faults.h"
#include "ipv4_text.h"

namespace corvesta::sim {

// Text limits of a box: what the client's fixed-width fields hold.
inline constexpr std::size_t kShortTextMaxBytes =
    15; // 16-byte fields: name in the wizard, workgroup
inline constexpr std::size_t kDescriptionMaxBytes = 30; // 31-byte description field
inline constexpr std::size_t kAuthMaxBytes = 16;        // user names and passwords
inline constexpr std::size_t kDiskNameMaxBytes = 9;     // 10-byte disk name field

struct Account {
  std::string user;
  std::string password;
  std::string access; // rights text of cgi_get_user_access, e.g. "1,1,1,1,1,1"
};

struct Disk {
  std::string device; // e.g. "sda"
  std::int64_t sizeGib = 0;
};

struct Volume {
  int number = 0;
  std::string mode;       // "standard", "linear", "raid0", "raid1"
  std::string fileSystem; // "ext4"
  std::string disks;      // device names, one after the other
  std::int64_t totalKib = 0;
  std::int64_t usedKib = 0;
};

struct Share {
  std::string name;
  bool usb = false;               // lies on a USB disk
  std::vector<std::string> users; // who sees it; empty: everybody
};

// A user logged in to the web service from one peer address.
struct Session {
  std::string user;
  std::string peer; // IPv4 text of the peer
};

struct Box {
  std::string name;
  MacAddress mac{};
  std::string ip;
  std::string netmask;
  std::string gateway; // may be empty
  bool dhcp = false;
  std::string extraText; // the 32-byte text of the probe reply
  std::string workgroup;
  std::string description;
  int timezone = 0;
  std::string dns1;
  std::string dns2;
  std::vector<Account> accounts;
  std::optional<int> diskCount; // reported instead of the number of disks when set
  std::vector<Disk> disks;
  std::vector<Volume> volumes;
  std::vector<Share> shares;
  std::vector<Session> sessions;
  int formatSeconds = 5;      // a format runs this long
  std::string dhcpLeaseIp;    // the address "the DHCP server" gives; empty: keep the address
  int addressGraceMs = 10000; // after cgi_ip the old address answers this long
  int dhcpWaitMs = 0; // after cgi_ip with DHCP, cgi_get_lan_xml2 reports no address this long
  Faults faults;

  const Account *FindAccount(std::string_view user) const;
  Account *FindAccount(std::string_view user);
};

// Reads one box; on failure returns nothing and sets `error`.
std::optional<Box> BoxFromJson(const nlohmann::json &json, std::string &error);
nlohmann::json BoxToJson(const Box &box);

// Reads a whole state document {"boxes": [...]}: at least one box, names,
// hardware addresses and IPv4 addresses all different.
std::optional<std::vector<Box>> BoxesFromJson(const nlohmann::json &json, std::string &error);
// Reads the state document from the text of a file.
std::optional<std::vector<Box>> BoxesFromText(const std::string &text, std::string &error);

} // namespace corvesta::sim
