#include "platform/adapter_kind.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <fstream>

namespace corvesta {

namespace {

// Link types (ARPHRD_*) of point-to-point and tunnel links: PPP, IPIP, IPv6
// in IPv6, SIT, GRE, IPv6 GRE, and none (tun, WireGuard).
constexpr std::array<int, 7> kTunnelLinkTypes = {512, 768, 769, 776, 778, 823, 65534};

constexpr std::array<std::string_view, 9> kTunnelPrefixes = {
    "tun", "wg", "ppp", "ipsec", "vti", "gre", "tailscale", "zt", "nordlynx"};

constexpr std::array<std::string_view, 17> kVirtualPrefixes = {
    "docker",  "br-",    "virbr", "veth", "vboxnet", "vmnet", "lxcbr", "lxdbr", "cni",
    "flannel", "podman", "vnet",  "tap",  "macvtap", "cali",  "weave", "dummy"};

bool StartsWithAny(std::string_view name, const auto &prefixes) {
  for (std::string_view prefix : prefixes) {
    if (name.substr(0, prefix.size()) == prefix) {
      return true;
    }
  }
  return false;
}

bool Exists(const std::string &path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0;
}

int LinkType(const std::string &path) {
  std::ifstream file(path);
  int type = -1;
  if (!(file >> type)) {
    return -1;
  }
  return type;
}

bool IsPlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

} // namespace

AdapterFacts ReadAdapterFacts(std::string_view name, std::string_view classNetFolder) {
  AdapterFacts facts;
  if (!IsPlainFileName(name)) {
    return facts;
  }
  const std::string folder = std::string(classNetFolder) + "/" + std::string(name) + "/";
  facts.wireless = Exists(folder + "wireless") || Exists(folder + "phy80211");
  facts.bridge = Exists(folder + "bridge");
  const int type = LinkType(folder + "type");
  facts.tunnel =
      Exists(folder + "tun_flags") ||
      std::find(kTunnelLinkTypes.begin(), kTunnelLinkTypes.end(), type) != kTunnelLinkTypes.end();
  return facts;
}

AdapterKind ClassifyAdapter(std::string_view name, const AdapterFacts &facts) {
  if (facts.wireless) {
    return AdapterKind::Wireless;
  }
  if (facts.tunnel || StartsWithAny(name, kTunnelPrefixes)) {
    return AdapterKind::Tunnel;
  }
  if (StartsWithAny(name, kVirtualPrefixes)) {
    return AdapterKind::Virtual;
  }
  if (facts.bridge) {
    return AdapterKind::Bridge;
  }
  return AdapterKind::Physical;
}

int AdapterKindRank(AdapterKind kind) {
  switch (kind) {
  case AdapterKind::Physical:
  case AdapterKind::Wireless:
    return 0;
  case AdapterKind::Bridge:
    return 1;
  case AdapterKind::Tunnel:
  case AdapterKind::Virtual:
    return 2;
  }
  return 2;
}

std::string_view AdapterKindName(AdapterKind kind) {
  switch (kind) {
  case AdapterKind::Physical:
    return "physical";
  case AdapterKind::Wireless:
    return "wireless";
  case AdapterKind::Bridge:
    return "bridge";
  case AdapterKind::Tunnel:
    return "tunnel";
  case AdapterKind::Virtual:
    return "virtual";
  }
  return "physical";
}

} // namespace corvesta
