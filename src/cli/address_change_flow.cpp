#include "cli/address_change_flow.h"

#include "cli/address_input.h"
#include "cli/terminal.h"
#include "cli/text_output.h"
#include "cli/wait_limits.h"
#include "i18n/translate.h"
#include "nas/udp/address_change.h"
#include "nas/udp/ip_setting_block.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "worker/private_messages.h"

namespace corvesta::cli {

namespace {
constexpr LPARAM kSetIpResultTag = 4;

bool StartsWithLoopback(const std::string &ip) {
  return ip.starts_with("127.");
}
} // namespace

bool HasAddressOptions(const Arguments &arguments) {
  return arguments.Has("dhcp") || arguments.Has("static");
}

ExitStatus ChangeBoxAddress(Context &context, const BoxChoice &box) {
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

  const NasDevice &device = box.device;
  if (dhcp && FieldText(device.dhcp, sizeof device.dhcp) == "1") {
    Out("The NAS already uses DHCP; nothing was sent.");
    return ExitStatus::Success;
  }

  std::string ip, mask, gateway;
  if (dhcp) {
    // The box's current values travel with the DHCP flag, unchecked.
    ip = std::string(FieldText(device.ip, sizeof device.ip));
    mask = std::string(FieldText(device.netmask, sizeof device.netmask));
    gateway = std::string(FieldText(device.gateway, sizeof device.gateway));
  } else {
    auto typedIp = ReadAddressText(*args.Value("ip"), AddressKind::IpAddress);
    if (!typedIp) {
      return ExitStatus::Usage;
    }
    ip = *typedIp;
  }
  if (StartsWithLoopback(ip)) {
    ShowMessageBox(0, Translate(u"IP address input error. Please try again."),
                   Translate(u"Warning"), MessageBoxButtons::Ok, MessageBoxIcon::Warning);
    return ExitStatus::Usage;
  }
  if (!dhcp) {
    auto typedMask = ReadAddressText(*args.Value("mask"), AddressKind::SubnetMask);
    if (!typedMask) {
      return ExitStatus::Usage;
    }
    mask = *typedMask;
    if (auto typedGateway = args.Value("gateway"); typedGateway && !typedGateway->empty()) {
      auto checked = ReadAddressText(*typedGateway, AddressKind::Gateway);
      if (!checked) {
        return ExitStatus::Usage;
      }
      gateway = *checked;
    }
    if (!ConfirmGateway(ip, mask, gateway)) {
      Err("Nothing was changed.");
      return ExitStatus::Failed;
    }
  }

  const IpSettingBlock block = MakeIpSettingBlock(ip, mask, gateway, dhcp);
  const Ticket ticket = StartAddressChange(context.window.Handle(), box.index, block);
  if (ticket == 0) {
    Err(Tr(u"Refresh NAS list failed."));
    return ExitStatus::Failed;
  }
  Progress progress("Sending the new address");
  auto result = context.window.WaitForEnd(
      ticket,
      [](const Message &message) {
        return message.message == WM_SETIP_RESULT && message.lParam == kSetIpResultTag;
      },
      limits::kAddressChange, [&] { progress.Tick(); });
  progress.Done();
  if (!result || result->wParam != kResultSuccess) {
    Err(Tr(u"setting NAS ip failed,please reset NAS ip."));
    return ExitStatus::Failed;
  }
  return ExitStatus::Success;
}

} // namespace corvesta::cli
