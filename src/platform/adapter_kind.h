#pragma once
// What kind of link a network adapter is, as far as its name and the system's
// description of it (/sys/class/net/<name>) tell. Boxes sit on the LAN
// behind a physical or wireless card; the bridges that containers and
// virtual machines make, tunnels and VPN links rarely lead to one. A bridge
// of another name (br0) may well carry the LAN: it ranks between the two.

#include <string>
#include <string_view>

namespace corvesta {

enum class AdapterKind {
  Physical, // an Ethernet card, or a link nothing marks as anything else
  Wireless,
  Bridge,  // a bridge that may carry the LAN (br0)
  Tunnel,  // tun, WireGuard, PPP and other point-to-point links
  Virtual, // container and virtual-machine bridges and links (docker0, virbr0, veth)
};

// What the system says of an adapter.
struct AdapterFacts {
  bool wireless = false; // wireless/ or phy80211 in its folder
  bool bridge = false;   // bridge/ in its folder
  bool tunnel = false;   // tun_flags in its folder, or a link type of a tunnel
};

inline constexpr std::string_view kClassNetFolder = "/sys/class/net";

// The facts of the adapter `name` under `classNetFolder`; none for a name
// that is not a plain file name or a folder that cannot be read.
AdapterFacts ReadAdapterFacts(std::string_view name,
                              std::string_view classNetFolder = kClassNetFolder);

AdapterKind ClassifyAdapter(std::string_view name, const AdapterFacts &facts);

// The order in which kinds take the probe's places when there are more
// adapters than places: 0 first.
int AdapterKindRank(AdapterKind kind);

// "physical", "wireless", "bridge", "tunnel", "virtual".
std::string_view AdapterKindName(AdapterKind kind);

} // namespace corvesta
