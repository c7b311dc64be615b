#include "cli/address_change_flow.h"

#include <memory>

#include "cli/address_input.h"
#include "cli/terminal.h"
#include "cli/text_output.h"
#include "cli/wait_limits.h"
#include "i18n/translate.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "setup/address_change_plan.h"

namespace corvesta::cli {

namespace {

void ShowRefusal(std::u16string_view message, std::u16string_view caption) {
  ShowMessageBox(0, Translate(message), Translate(caption), MessageBoxButtons::Ok,
                 MessageBoxIcon::Warning);
}

// The choice the options make; nothing (after a message) when they cannot
// be used.
std::optional<AddressChoice> ChoiceFromOptions(const Arguments &args, ExitStatus &failure) {
  failure = ExitStatus::Usage;
  const bool dhcp = args.Has("dhcp");
  if (dhcp == args.Has("static")) {
    Err("Give either --dhcp or --static.");
    return std::nullopt;
  }
  if (dhcp && (args.Has("ip") || args.Has("mask") || args.Has("gateway"))) {
    Err("--dhcp takes no --ip, --mask or --gateway.");
    return std::nullopt;
  }
  if (!dhcp && (!args.Has("ip") || !args.Has("mask"))) {
    Err("--static needs --ip and --mask.");
    return std::nullopt;
  }
  AddressChoice choice;
  choice.dhcp = dhcp;
  if (dhcp) {
    return choice;
  }
  auto ip = ReadAddressText(*args.Value("ip"), AddressKind::IpAddress);
  if (!ip) {
    return std::nullopt;
  }
  // Refused before the other fields are read, as the dialog does.
  if (IsLoopbackAddress(*ip)) {
    ShowRefusal(kAddressInputErrorText, kWarningCaption);
    return std::nullopt;
  }
  auto mask = ReadAddressText(*args.Value("mask"), AddressKind::SubnetMask);
  if (!mask) {
    return std::nullopt;
  }
  choice.ip = *ip;
  choice.mask = *mask;
  if (auto gateway = args.Value("gateway"); gateway && !gateway->empty()) {
    auto checked = ReadAddressText(*gateway, AddressKind::Gateway);
    if (!checked) {
      return std::nullopt;
    }
    choice.gateway = *checked;
  }
  return choice;
}

// Shows progress while the change runs and keeps the outcome.
class AddressChangeRunner : public AddressChangeObserver {
public:
  explicit AddressChangeRunner(const std::function<void()> &taken)
      : m_taken(taken), m_progress(std::make_unique<Progress>("Sending the new address")) {}

  void OnAcknowledged() override {
    m_progress->Done();
    if (m_taken) {
      m_taken();
    }
    m_progress = std::make_unique<Progress>("Searching for NAS");
  }
  void OnAddressChangeFinished(const AddressChangeOutcome &) override { m_progress->Done(); }

  void Tick() { m_progress->Tick(); }

private:
  const std::function<void()> &m_taken;
  std::unique_ptr<Progress> m_progress;
};

// The search alone, for a box that was sent nothing.
AddressChangeOutcome SearchAgain(CliWindow &window, const NasDevice &device) {
  AddressChangeOutcome search;
  std::optional<FoundBoxes> found = DiscoverBoxes(window);
  if (!found) {
    search.result = AddressChangeResult::SearchFailed; // shown already
    return search;
  }
  BoxLookup lookup = FindBox(found->devices, FieldString(device.mac));
  if (!lookup.choice) {
    search.result = AddressChangeResult::NotFoundYet;
    return search;
  }
  search.result = AddressChangeResult::Found;
  search.deviceIndex = lookup.choice->index;
  search.device = lookup.choice->device;
  search.adapters = found->adapters;
  return search;
}

} // namespace

bool HasAddressOptions(const Arguments &arguments) {
  return arguments.Has("dhcp") || arguments.Has("static");
}

bool AddressOptionsUsable(const Arguments &arguments, ExitStatus &failure) {
  return ChoiceFromOptions(arguments, failure).has_value();
}

AddressChangeRun ChangeBoxAddress(Context &context, const BoxChoice &box,
                                  const std::function<void()> &taken) {
  AddressChangeRun run;
  const auto choice = ChoiceFromOptions(context.args, run.status);
  if (!choice) {
    return run;
  }
  const AddressPlan plan = PlanAddressChange(box.device, *choice);
  switch (plan.result) {
  case AddressPlanResult::NothingToSend:
    Out("The NAS already uses DHCP; nothing was sent.");
    if (taken) {
      taken();
    }
    run.status = ExitStatus::Success;
    run.search = SearchAgain(context.window, box.device);
    return run;
  case AddressPlanResult::Refused:
    ShowRefusal(plan.message, plan.caption);
    run.status = ExitStatus::Usage;
    return run;
  case AddressPlanResult::Send:
    break;
  }
  if (!plan.gatewayQuestion.empty() && !ConfirmGateway(choice->ip, choice->mask, choice->gateway)) {
    Err("Nothing was changed.");
    run.status = ExitStatus::Failed;
    return run;
  }

  AddressChangeRunner runner(taken);
  AddressChangeSequence change(context.window.Host(), runner);
  if (!change.Start(box.index, plan.block)) {
    Err(Tr(change.Outcome().message));
    run.status = ExitStatus::Failed;
    return run;
  }
  if (!context.window.Run(change, limits::kSequenceRun, [&] { runner.Tick(); })) {
    Err(Tr(kSetAddressFailedText));
    run.status = ExitStatus::Failed;
    return run;
  }
  const AddressChangeOutcome &outcome = change.Outcome();
  switch (outcome.result) {
  case AddressChangeResult::Found:
  case AddressChangeResult::NotFoundYet:
  case AddressChangeResult::SearchFailed:
    run.status = ExitStatus::Success;
    run.search = outcome;
    return run;
  default:
    Err(Tr(outcome.message));
    run.status = ExitStatus::Failed;
    return run;
  }
}

} // namespace corvesta::cli
