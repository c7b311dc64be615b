#pragma once
// Finding the boxes: one discovery (with progress), and the box a command
// names by its name, its address or its hardware address.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_window.h"
#include "cli/exit_status.h"
#include "nas/nas_device.h"
#include "nas/udp/adapter_table.h"

namespace corvesta::cli {

struct FoundBoxes {
  std::vector<NasDevice> devices; // the device list, in its order
  AdapterTable adapters;          // the adapters the discovery used
};

// Runs one discovery and waits for it; nothing (after a message) when it
// could not be started or did not end in time. When `wanted` names a box by
// its address or hardware address, the discovery ends soon after that box
// has answered; otherwise (a name, or nothing) every adapter's waits run
// their full course, so that every box carrying a name is heard.
std::optional<FoundBoxes> DiscoverBoxes(CliWindow &window, std::string_view wanted = {});

// True when `wanted` has the form of an IPv4 address or of a hardware
// address (six pairs of hexadecimal digits, any letter case, ':' or '-'
// between them): the words that can end a discovery early.
bool IsAddressWord(std::string_view wanted);

// True when `wanted` has the form of an IPv4 address.
bool IsIpv4Word(std::string_view wanted);

// What is said of a box that answers from more than one address: named by
// its name or hardware address it gets no credentials.
std::string AmbiguityText(const NasDevice &device);

// True when `device` carries the address or hardware address `wanted`.
bool HasAddress(const NasDevice &device, std::string_view wanted);

struct BoxChoice {
  std::int32_t index = -1; // position in the device list
  NasDevice device;
};

// The box that `wanted` names: an exact name, an address, or a hardware
// address (any letter case, ':' or '-' between the bytes). A name that
// several boxes carry is refused (their addresses are listed), as is a
// name that matches nothing, and an ambiguous box (answering from more than
// one address) named by anything but its address.
struct BoxLookup {
  std::optional<BoxChoice> choice;
  ExitStatus failure = ExitStatus::BoxNotFound; // when there is no choice
  std::string message;                          // why there is no choice
};
BoxLookup FindBox(const std::vector<NasDevice> &devices, std::string_view wanted);

// Discovery and FindBox in one; prints the reason when no box is chosen.
struct SelectedBox {
  BoxChoice box;
  AdapterTable adapters;
};
std::optional<SelectedBox> SelectBox(CliWindow &window, std::string_view wanted,
                                     ExitStatus &failure);

// The adapter's address the box was found through ("" when unknown).
std::string AdapterAddress(const NasDevice &device, const AdapterTable &adapters);

} // namespace corvesta::cli
