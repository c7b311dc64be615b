// network: new LAN settings over the web service, then the address polling
// and a fresh login at the box's new address.

#include <thread>

#include "cli/address_input.h"
#include "cli/commands.h"
#include "cli/login_session.h"
#include "cli/terminal.h"
#include "cli/text_output.h"
#include "cli/wait_limits.h"
#include "cli/wizard_reading.h"
#include "nas/device_list.h"
#include "nas/http/command_set.h"
#include "nas/udp/subnet.h"
#include "platform/text_codec.h"
#include "worker/private_messages.h"

namespace corvesta::cli {

namespace {

using Clock = std::chrono::steady_clock;

// An address option: nothing when not given (the box's value is kept), an
// empty text when given empty (cleared), else the checked address.
struct AddressOption {
  bool given = false;
  bool valid = true;
  std::string text;
};

AddressOption ReadOption(const Arguments &args, std::string_view name, AddressKind kind) {
  AddressOption option;
  auto value = args.Value(name);
  if (!value) {
    return option;
  }
  option.given = true;
  if (value->empty()) {
    return option;
  }
  auto checked = ReadAddressText(*value, kind);
  option.valid = checked.has_value();
  option.text = checked.value_or(std::string());
  return option;
}

// The polls after new settings: one a second, at most kAddressPolls; true
// once the box has told its address.
bool PollNewAddress(CliWindow &window, std::int32_t index) {
  Progress progress("Waiting for the NAS at its new address");
  int polls = 0;
  auto nextPoll = Clock::now();
  while (true) {
    if (Clock::now() >= nextPoll) {
      if (polls == limits::kAddressPolls) {
        progress.Done();
        Err(Tr(u"get NAS new ip error."));
        return false;
      }
      if (StartReadLanAddress(window.Handle(), index) == 0) {
        Err(Tr(u"setting failed."));
      }
      ++polls;
      nextPoll += limits::kAddressPollPeriod;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(nextPoll - Clock::now());
    auto answer = window.Wait(
        [](const Message &message) {
          return message.message == WM_COMMAND_RESULT &&
                 message.lParam == static_cast<LPARAM>(CommandIndex::ReadLanAddress);
        },
        std::max(left, std::chrono::milliseconds(1)), [&] { progress.Tick(); });
    if (answer && answer->wParam == kResultSuccess) {
      return true;
    }
  }
}

bool NewAddressInSubnet(std::int32_t index, const WizardInfo &info) {
  const auto device = DeviceList::Instance().At(index);
  const AdapterTable table = CurrentAdapterTable();
  const std::uint32_t adapter = device ? static_cast<std::uint32_t>(device->adapter) : 0;
  if (adapter >= table.count) {
    return false;
  }
  const AdapterEntry &entry = table.adapters[adapter];
  return InSameSubnet(FieldString(entry.address), FieldString(entry.mask), FieldString(info.ip),
                      FieldString(info.netmask));
}

} // namespace

ExitStatus RunNetwork(Context &context) {
  const Arguments &args = context.args;
  const bool dhcp = args.Has("dhcp");
  if (dhcp == args.Has("static")) {
    Err("Give either --dhcp or --static.");
    return ExitStatus::Usage;
  }
  if (dhcp && (args.Has("ip") || args.Has("mask") || args.Has("gateway"))) {
    Err("--dhcp takes no --ip, --mask or --gateway.");
    return ExitStatus::Usage;
  }
  if (!dhcp && (!args.Has("ip") || !args.Has("mask"))) {
    Err("--static needs --ip and --mask.");
    return ExitStatus::Usage;
  }
  const AddressKind dnsKind = dhcp ? AddressKind::None : AddressKind::DnsServer;
  const AddressOption ip = ReadOption(args, "ip", AddressKind::IpAddress);
  const AddressOption mask =
      ip.valid ? ReadOption(args, "mask", AddressKind::SubnetMask) : AddressOption{};
  const AddressOption gateway =
      mask.valid ? ReadOption(args, "gateway", AddressKind::Gateway) : AddressOption{};
  const AddressOption dns1 = gateway.valid ? ReadOption(args, "dns1", dnsKind) : AddressOption{};
  const AddressOption dns2 = dns1.valid ? ReadOption(args, "dns2", dnsKind) : AddressOption{};
  if (!ip.valid || !mask.valid || !gateway.valid || !dns1.valid || !dns2.valid) {
    return ExitStatus::Usage;
  }
  if (!dhcp && (ip.text.empty() || mask.text.empty())) {
    Err("--static needs an address and a mask.");
    return ExitStatus::Usage;
  }

  LoginSession session(context);
  session.RequireAdministrator();
  if (const ExitStatus opened = session.Open(); opened != ExitStatus::Success) {
    return opened;
  }
  const auto current = ReadWizardValues(context.window, session.Index());
  if (!current) {
    return ExitStatus::Failed;
  }
  NetSettings settings;
  settings.dhcp = dhcp ? 1 : 0;
  auto pick = [](const AddressOption &option, const std::string &kept) {
    return option.given ? option.text : kept;
  };
  const std::string newIp = dhcp ? FieldString(current->ip) : ip.text;
  const std::string newMask = dhcp ? FieldString(current->netmask) : mask.text;
  // With DHCP the box's server gives the gateway; none is sent.
  const std::string newGateway =
      dhcp ? std::string() : pick(gateway, FieldString(current->gateway));
  CopyToField(settings.ip, sizeof settings.ip, newIp);
  CopyToField(settings.netmask, sizeof settings.netmask, newMask);
  CopyToField(settings.gateway, sizeof settings.gateway, newGateway);
  CopyToField(settings.dns1, sizeof settings.dns1, pick(dns1, FieldString(current->dns1)));
  CopyToField(settings.dns2, sizeof settings.dns2, pick(dns2, FieldString(current->dns2)));
  if (!dhcp && !ConfirmGateway(newIp, newMask, newGateway)) {
    Err("Nothing was changed.");
    return ExitStatus::Failed;
  }

  // The address is locked first; the settings follow a moment later.
  const Ticket lock = StartLockAddress(context.window.Handle(), session.Index());
  std::this_thread::sleep_for(limits::kLockToSettingsPause);
  const Ticket set =
      lock == 0 ? 0 : StartSetNetwork(context.window.Handle(), session.Index(), settings);
  if (set == 0) {
    Err(Tr(u"setting failed."));
    return ExitStatus::Failed;
  }
  if (!context.window.WaitForCommand(set, CommandIndex::SetNetwork, limits::kWebRequest)
           .value_or(false)) {
    Err(Tr(u"setting failed."));
    return ExitStatus::Failed;
  }
  Out("The NAS has taken the new network settings.");
  if (!PollNewAddress(context.window, session.Index())) {
    session.SkipLogout();
    return ExitStatus::Failed;
  }
  const WizardInfo answered = CurrentWizardInfo();
  if (!NewAddressInSubnet(session.Index(), answered)) {
    session.SkipLogout();
    Out("The NAS now answers at " + FieldString(answered.ip) +
        ", outside this PC's subnet; find it with discover and give it an address with set-ip.");
    return ExitStatus::Success;
  }
  {
    Progress pause("Logging in again");
    const auto until = Clock::now() + limits::kReloginPause;
    while (Clock::now() < until) {
      pause.Tick();
      std::this_thread::sleep_for(limits::kProgressTick);
    }
  }
  const Ticket login = StartLogIn(context.window.Handle(), session.Index(), 1);
  if (login == 0 || !context.window.WaitForCommand(login, CommandIndex::LogIn, limits::kWebRequest)
                         .value_or(false)) {
    Err(Tr(u"setting failed."));
    return ExitStatus::Failed;
  }
  Out("The NAS answers at " + FieldString(answered.ip) + " (mask " + FieldString(answered.netmask) +
      ").");
  return ExitStatus::Success;
}

} // namespace corvesta::cli
