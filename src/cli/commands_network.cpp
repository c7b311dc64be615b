// network: new LAN settings over the web service, then the address polling
// and a fresh login at the box's new address.

#include <optional>

#include "cli/address_input.h"
#include "cli/commands.h"
#include "cli/login_session.h"
#include "cli/terminal.h"
#include "cli/text_output.h"
#include "cli/wait_limits.h"
#include "cli/wizard_reading.h"
#include "platform/text_codec.h"
#include "setup/address_change_plan.h"
#include "setup/network_change.h"
#include "setup/queue_sequence_host.h"

namespace corvesta::cli {

namespace {

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

// What the network change reports, on the terminal.
class NetworkReport : public NetworkChangeObserver {
public:
  void OnStage(NetworkChangeStage stage) override {
    if (stage == NetworkChangeStage::Polling) {
      Out("The NAS has taken the new network settings.");
      m_progress.emplace("Waiting for the NAS at its new address");
    } else if (stage == NetworkChangeStage::LoggingIn) {
      m_progress.emplace("Logging in again");
    }
  }
  void OnNotice(std::u16string_view text) override { Err(Tr(text)); }
  void OnEnd(const NetworkChangeOutcome &outcome) override {
    m_progress.reset();
    m_outcome = outcome;
  }
  void Tick() {
    if (m_progress) {
      m_progress->Tick();
    }
  }
  const std::optional<NetworkChangeOutcome> &Outcome() const { return m_outcome; }

private:
  std::optional<Progress> m_progress;
  std::optional<NetworkChangeOutcome> m_outcome;
};

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
  if (!dhcp) {
    if (const auto problem = CheckStaticAddressUse(ip.text, mask.text, gateway.text)) {
      Err(Tr(*problem));
      return ExitStatus::Usage;
    }
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
  if (!dhcp) {
    // The gateway kept from the box passes the same rule.
    if (const auto problem = CheckStaticAddressUse(newIp, newMask, newGateway)) {
      Err(Tr(*problem));
      return ExitStatus::Usage;
    }
  }
  if (!dhcp && !ConfirmGateway(newIp, newMask, newGateway)) {
    Err("Nothing was changed.");
    return ExitStatus::Failed;
  }

  NetworkReport report;
  QueueSequenceHost host(context.window.Queue());
  NetworkChange change(host, report, session.Index(), settings);
  change.Start();
  host.Run(change, limits::kNetworkChange, &CliWindow::Discard, [&] { report.Tick(); });
  const std::optional<NetworkChangeOutcome> &outcome = report.Outcome();
  if (!outcome) {
    Err(Tr(u"setting failed."));
    return ExitStatus::Failed;
  }
  switch (outcome->end) {
  case NetworkChangeEnd::LeftSubnet:
    session.SkipLogout();
    Out("The NAS now answers at " + outcome->address +
        ", outside this PC's subnet; find it with discover and give it an address with set-ip.");
    return ExitStatus::Success;
  case NetworkChangeEnd::LoggedIn:
    Out("The NAS answers at " + outcome->address + " (mask " + outcome->netmask + ").");
    return ExitStatus::Success;
  case NetworkChangeEnd::NoNewAddress:
    // The box may have moved to the address sent, or stayed: the session is
    // closed at both.
    if (!dhcp && newIp != FieldString(session.Device().ip)) {
      session.AlsoLogOutAt(newIp);
    }
    break;
  default:
    break;
  }
  Err(Tr(outcome->message));
  return ExitStatus::Failed;
}

} // namespace corvesta::cli
