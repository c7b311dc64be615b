#include "cli/box_selection.h"

#include <arpa/inet.h>

#include <cctype>

#include "cli/terminal.h"
#include "cli/text_output.h"
#include "cli/visible_text.h"
#include "cli/wait_limits.h"
#include "i18n/own_texts.h"
#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "nas/udp/discovery.h"
#include "platform/text_codec.h"

namespace corvesta::cli {

std::optional<FoundBoxes> DiscoverBoxes(CliWindow &window, std::string_view wanted) {
  DiscoveryTarget target;
  // Only an address ends the search early: a box named by its hardware
  // address is heard out in full, so that a second device answering with
  // that hardware address is noticed.
  if (IsIpv4Word(wanted)) {
    target.wanted = [word = std::string(wanted)](const NasDevice &device) {
      return HasAddress(device, word);
    };
  }
  const Ticket ticket = StartDiscovery(window.Handle(), std::move(target));
  if (ticket == 0) {
    Err(Tr(u"Refresh NAS list failed."));
    return std::nullopt;
  }
  Progress progress("Searching for NAS");
  auto result = window.WaitForQuery(ticket, timing::kDiscoveryLimit, [&] { progress.Tick(); });
  progress.Done();
  if (!result) {
    Err(Tr(u"Refresh NAS list failed."));
    return std::nullopt;
  }
  // The discovery's worker filled the list and the table before it posted.
  FoundBoxes found;
  found.devices = DeviceList::Instance().Snapshot();
  found.adapters = CurrentAdapterTable();
  return found;
}

namespace {
std::string NormalisedMac(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '-') {
      c = ':';
    }
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

bool IsHardwareAddress(std::string_view text) {
  const std::string mac = NormalisedMac(text);
  if (mac.size() != 17) {
    return false;
  }
  for (std::size_t i = 0; i < mac.size(); ++i) {
    const bool separator = i % 3 == 2;
    if (separator ? mac[i] != ':' : std::isxdigit(static_cast<unsigned char>(mac[i])) == 0) {
      return false;
    }
  }
  return true;
}
} // namespace

bool IsIpv4Word(std::string_view wanted) {
  in_addr address{};
  return wanted.size() < INET_ADDRSTRLEN &&
         inet_pton(AF_INET, std::string(wanted).c_str(), &address) == 1;
}

bool IsAddressWord(std::string_view wanted) {
  return IsHardwareAddress(wanted) || IsIpv4Word(wanted);
}

std::string AmbiguityText(const NasDevice &device) {
  return Tr(kAmbiguousBoxText) + "\n  " + VisibleText(FieldString(device.name)) + "  " +
         VisibleText(FieldString(device.mac)) + "  " + VisibleText(FieldString(device.ip)) + ", " +
         VisibleText(FieldString(device.other_ip));
}

bool HasAddress(const NasDevice &device, std::string_view wanted) {
  return FieldText(device.ip, sizeof device.ip) == wanted ||
         NormalisedMac(FieldText(device.mac, sizeof device.mac)) == NormalisedMac(wanted);
}

BoxLookup FindBox(const std::vector<NasDevice> &devices, std::string_view wanted) {
  BoxLookup lookup;
  std::vector<std::int32_t> byName;
  for (std::size_t i = 0; i < devices.size(); ++i) {
    const NasDevice &device = devices[i];
    const auto index = static_cast<std::int32_t>(i);
    if (FieldText(device.ip, sizeof device.ip) == wanted) {
      lookup.choice = BoxChoice{index, device};
      return lookup;
    }
    if (HasAddress(device, wanted)) {
      if (device.ambiguous != 0) {
        lookup.failure = ExitStatus::Usage;
        lookup.message = AmbiguityText(device);
        return lookup;
      }
      lookup.choice = BoxChoice{index, device};
      return lookup;
    }
    if (FieldText(device.name, sizeof device.name) == wanted) {
      byName.push_back(index);
    }
  }
  if (byName.size() == 1) {
    const auto at = static_cast<std::size_t>(byName.front());
    if (devices[at].ambiguous != 0) {
      lookup.failure = ExitStatus::Usage;
      lookup.message = AmbiguityText(devices[at]);
      return lookup;
    }
    lookup.choice = BoxChoice{byName.front(), devices[at]};
    return lookup;
  }
  if (byName.empty()) {
    lookup.message = "No NAS named \"" + std::string(wanted) +
                     "\" (nor with that address or hardware address) answered.";
    return lookup;
  }
  lookup.failure = ExitStatus::Usage;
  lookup.message = "Several NAS are named \"" + std::string(wanted) +
                   "\"; name one by its address or hardware address:";
  for (std::int32_t index : byName) {
    const NasDevice &device = devices[static_cast<std::size_t>(index)];
    lookup.message += "\n  " + VisibleText(FieldText(device.ip, sizeof device.ip)) + "  " +
                      VisibleText(FieldText(device.mac, sizeof device.mac));
  }
  return lookup;
}

std::optional<SelectedBox> SelectBox(CliWindow &window, std::string_view wanted,
                                     ExitStatus &failure) {
  std::optional<FoundBoxes> found = DiscoverBoxes(window, wanted);
  if (!found) {
    failure = ExitStatus::Failed;
    return std::nullopt;
  }
  // An address of a device that claims a listed box's hardware address:
  // the person has named that device, so it takes the listed place.
  if (IsIpv4Word(wanted) && DeviceList::Instance().PreferClaimant(wanted)) {
    found->devices = DeviceList::Instance().Snapshot();
  }
  BoxLookup lookup = FindBox(found->devices, wanted);
  if (!lookup.choice) {
    Err(lookup.message);
    failure = lookup.failure;
    return std::nullopt;
  }
  return SelectedBox{*lookup.choice, found->adapters};
}

std::string AdapterAddress(const NasDevice &device, const AdapterTable &adapters) {
  if (device.adapter < 0 || static_cast<std::uint32_t>(device.adapter) >= adapters.count) {
    return {};
  }
  const AdapterEntry &entry = adapters.adapters[device.adapter];
  return std::string(FieldText(entry.address, sizeof entry.address));
}

} // namespace corvesta::cli
