// info, password, identity and timezone: the box's set-up values.

#include "app/remembered_settings.h"
#include "cli/commands.h"
#include "cli/credential_source.h"
#include "cli/json_writer.h"
#include "cli/login_session.h"
#include "cli/terminal.h"
#include "cli/text_output.h"
#include "cli/visible_text.h"
#include "cli/wait_limits.h"
#include "cli/wizard_reading.h"
#include "i18n/own_texts.h"
#include "i18n/translate.h"
#include "nas/http/command_set.h"
#include "platform/text_codec.h"
#include "setup/box_text_rules.h"
#include "setup/change_failure.h"
#include "setup/identity_rules.h"
#include "setup/password_rules.h"
#include "setup/time_zone_table.h"

namespace corvesta::cli {

namespace {

std::string TimeZoneText(int value) {
  if (auto zone = TimeZoneForValue(value)) {
    return std::to_string(value) + "  " + std::string(zone->offset) + "  " + Tr(zone->location);
  }
  return std::to_string(value) + "  (not in the list)";
}

void PrintWizardValues(const WizardInfo &info) {
  auto line = [](std::u16string_view label, const std::string &value) {
    Out(Tr(label) + ": " + VisibleText(value));
  };
  line(u"Name", FieldString(info.name));
  line(u"Workgroup", FieldString(info.workgroup));
  line(u"Description", FieldString(info.description));
  line(u"TimeZone", TimeZoneText(info.timezone));
  line(u"Network", info.dhcp == 1 ? Tr(u"DHCP") : Tr(u"Static"));
  line(u"IP ADDress", FieldString(info.ip));
  line(u"Subnet Mask", FieldString(info.netmask));
  line(u"Gateway IP", FieldString(info.gateway));
  line(u"DNS 1", FieldString(info.dns1));
  line(u"DNS 2", FieldString(info.dns2));
}

std::string WizardJson(const WizardInfo &info) {
  return JsonObject()
      .Text("name", FieldString(info.name))
      .Text("workgroup", FieldString(info.workgroup))
      .Text("description", FieldString(info.description))
      .Number("timezone", info.timezone)
      .Bool("dhcp", info.dhcp == 1)
      .Text("ip", FieldString(info.ip))
      .Text("netmask", FieldString(info.netmask))
      .Text("gateway", FieldString(info.gateway))
      .Text("dns1", FieldString(info.dns1))
      .Text("dns2", FieldString(info.dns2))
      .Str();
}

} // namespace

ExitStatus RunInfo(Context &context) {
  LoginSession session(context);
  if (const ExitStatus opened = session.Open(); opened != ExitStatus::Success) {
    return opened;
  }
  const auto info = ReadWizardValues(context.window, session.Index());
  if (!info) {
    return ExitStatus::Failed;
  }
  if (context.args.Has("json")) {
    Out(WizardJson(*info));
  } else {
    PrintWizardValues(*info);
  }
  return ExitStatus::Success;
}

ExitStatus RunPassword(Context &context) {
  LoginSession session(context);
  // Standard input holds the login password first when --password-stdin.
  if (context.args.Has("password-stdin")) {
    BoundedLine line = ReadSecretLine({});
    if (line.end != LineEnd::Line) {
      Err(BoundedLineProblem(line.end, "--password-stdin"));
      return ExitStatus::Usage;
    }
    session.PresetPassword(line.text);
  }
  BoundedLine password = ReadSecretLine(Tr(u"Password") + ": ");
  BoundedLine confirmation = password;
  if (InputIsTerminal() && password.end == LineEnd::Line) {
    confirmation = ReadSecretLine(Tr(u"Confirm Password") + ": ");
  }
  for (const BoundedLine *line : {&password, &confirmation}) {
    if (line->end == LineEnd::NoLine) {
      Err("Standard input holds no new password.");
      return ExitStatus::Usage;
    }
    if (line->end != LineEnd::Line) {
      Err(BoundedLineProblem(line->end, Tr(u"Password")));
      return ExitStatus::Usage;
    }
  }
  if (auto problem = CheckNewPassword(Utf8ToUtf16(password.text), Utf8ToUtf16(confirmation.text))) {
    Err(Utf16ToUtf8(*problem));
    return ExitStatus::Usage;
  }

  if (const ExitStatus opened = session.Open(); opened != ExitStatus::Success) {
    return opened;
  }
  const Ticket ticket =
      StartChangePassword(context.window.Handle(), session.Index(),
                          Utf8ToUtf16(session.Login().password), Utf8ToUtf16(password.text));
  if (ticket == 0) {
    Err(Tr(u"SetNASPW failed."));
    return ExitStatus::Failed;
  }
  const WPARAM changed =
      context.window.WaitForCommandResult(ticket, CommandIndex::ChangePassword, limits::kWebRequest)
          .value_or(kResultFailure);
  // A remembered password of this user would be stale now. A reply lost
  // after the request went out may mean the box took the new password: the
  // new one is remembered then too, for the old one may no longer open the
  // box and the new one would be lost with it. Should the box not have
  // taken it, its refusal at the next login forgets it. A plain refusal
  // leaves the old password in place.
  const std::string section = session.BoxName();
  const StoredLogin remembered = RememberedLogin(section);
  const bool remember = context.args.Has("remember") || remembered.user == session.Login().user;
  if (remember && changed != kResultFailure) {
    if (!StoreLogin(section, session.Login().user, password.text)) {
      ReportNotRemembered(context);
    }
  }
  if (changed != kResultSuccess) {
    Err(Tr(ChangeFailureText(changed, u"password error.")));
    if (remember && changed == kResultReplyLost) {
      Err("The new password is remembered, in case the NAS took it before its answer was lost; "
          "if it did not, log in with the old password.");
    }
    return ExitStatus::Failed;
  }
  Out("The password of " + session.Login().user + " has been changed.");
  return ExitStatus::Success;
}

namespace {
// The rules that the values given on the command line can be held to
// before anything is asked of the box; the values kept from the box are
// checked with them once they are read.
std::optional<std::u16string> CheckGivenIdentity(const std::optional<std::string> &name,
                                                 const std::optional<std::string> &workgroup,
                                                 const std::optional<std::string> &description) {
  if (name && name->empty()) {
    return Translate(kEmptyNameText);
  }
  const std::pair<std::u16string_view, const std::optional<std::string> *> fields[] = {
      {kNameWord, &name}, {kWorkgroupWord, &workgroup}, {kDescriptionWord, &description}};
  for (const auto &[what, value] : fields) {
    if (*value) {
      if (auto problem = CheckBoxText(what, std::string_view(**value))) {
        return problem;
      }
    }
  }
  if (auto problem = CheckNameAndWorkgroup(Utf8ToUtf16(name.value_or("")),
                                           Utf8ToUtf16(workgroup.value_or("")))) {
    return problem;
  }
  if (auto problem = CheckDescription(Utf8ToUtf16(description.value_or("")))) {
    return problem;
  }
  return CheckIdentityFits(name.value_or(""), workgroup.value_or(""), description.value_or(""));
}
} // namespace

ExitStatus RunIdentity(Context &context) {
  const auto name = context.args.Value("name");
  const auto workgroup = context.args.Value("workgroup");
  const auto description = context.args.Value("description");
  if (!name && !workgroup && !description) {
    Err("Give at least one of --name, --workgroup and --description.");
    return ExitStatus::Usage;
  }
  if (auto problem = CheckGivenIdentity(name, workgroup, description)) {
    Err(Utf16ToUtf8(*problem));
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
  if (current->identityCut && !(name && workgroup && description)) {
    // A kept value would go back shorter than the box holds it.
    Err("The NAS's name, workgroup or description is longer than the request can carry; give "
        "--name, --workgroup and --description together.");
    return ExitStatus::Usage;
  }
  const std::string newName = name.value_or(FieldString(current->name));
  const std::string newWorkgroup = workgroup.value_or(FieldString(current->workgroup));
  const std::string newDescription = description.value_or(FieldString(current->description));
  // The values kept from the box pass the same rules.
  if (auto problem = CheckIdentity(newName, newWorkgroup, newDescription)) {
    Err(Utf16ToUtf8(*problem));
    return ExitStatus::Usage;
  }
  DeviceIdentity identity;
  CopyToField(identity.hostname, sizeof identity.hostname, newName);
  CopyToField(identity.workgroup, sizeof identity.workgroup, newWorkgroup);
  CopyToField(identity.description, sizeof identity.description, newDescription);
  const Ticket ticket = StartSetDeviceIdentity(context.window.Handle(), session.Index(), identity);
  if (ticket == 0) {
    Err(Tr(u"Set Workgroup information failed."));
    return ExitStatus::Failed;
  }
  const WPARAM set =
      context.window
          .WaitForCommandResult(ticket, CommandIndex::SetDeviceIdentity, limits::kWebRequest)
          .value_or(kResultFailure);
  if (set != kResultSuccess) {
    Err(Tr(ChangeFailureText(set, u"setting failed.")));
    return ExitStatus::Failed;
  }
  Out(Tr(u"Name") + ": " + VisibleText(FieldString(identity.hostname)));
  Out(Tr(u"Workgroup") + ": " + VisibleText(FieldString(identity.workgroup)));
  Out(Tr(u"Description") + ": " + VisibleText(FieldString(identity.description)));
  return ExitStatus::Success;
}

namespace {
void PrintTimeZones(int current) {
  for (std::size_t i = 0; i < kTimeZones.size(); ++i) {
    const int value = static_cast<int>(i) + 1;
    std::string number = std::to_string(value);
    number.insert(0, 3 - number.size(), ' ');
    Out((value == current ? "* " : "  ") + number + "  " + std::string(kTimeZones[i].offset) +
        "  " + Tr(kTimeZones[i].location));
  }
}

std::optional<int> ParseZone(const std::string &text) {
  if (text.empty() || text.size() > 3 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const int value = std::stoi(text);
  if (!TimeZoneForValue(value)) {
    return std::nullopt;
  }
  return value;
}
} // namespace

ExitStatus RunTimeZone(Context &context) {
  const bool list = context.args.Has("list");
  const auto set = context.args.Value("set");
  if (list == set.has_value()) {
    Err("Give either --list or --set N.");
    return ExitStatus::Usage;
  }
  if (list && context.args.words.empty()) {
    PrintTimeZones(0);
    return ExitStatus::Success;
  }
  std::optional<int> zone;
  if (set) {
    zone = ParseZone(*set);
    if (!zone) {
      Err("The time zone is a number from 1 to 96 (see: corvesta-cli timezone --list).");
      return ExitStatus::Usage;
    }
  }
  LoginSession session(context);
  if (set) {
    session.RequireAdministrator();
  }
  if (const ExitStatus opened = session.Open(); opened != ExitStatus::Success) {
    return opened;
  }
  const auto current = ReadWizardValues(context.window, session.Index());
  if (!current) {
    return ExitStatus::Failed;
  }
  if (list) {
    PrintTimeZones(current->timezone);
    return ExitStatus::Success;
  }
  const Ticket ticket = StartSetTimeZone(context.window.Handle(), session.Index(), *zone);
  const WPARAM zoneSet = ticket == 0 ? kResultFailure
                                     : context.window
                                           .WaitForCommandResult(ticket, CommandIndex::SetTimeZone,
                                                                 limits::kWebRequest)
                                           .value_or(kResultFailure);
  if (zoneSet != kResultSuccess) {
    Err(Tr(ChangeFailureText(zoneSet, u"setting failed.")));
    return ExitStatus::Failed;
  }
  Out(Tr(u"TimeZone") + ": " + TimeZoneText(*zone));
  return ExitStatus::Success;
}

} // namespace corvesta::cli
