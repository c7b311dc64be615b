#include "cli/login_session.h"

#include "app/program_info.h"
#include "app/remembered_settings.h"
#include "cli/address_change_flow.h"
#include "cli/signal_logout.h"
#include "cli/terminal.h"
#include "cli/text_output.h"
#include "cli/visible_text.h"
#include "cli/wait_limits.h"
#include "i18n/translate.h"
#include "nas/current_credentials.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "setup/logout_sequence.h"

namespace corvesta::cli {

namespace {
// Asks for DHCP or a static address as the set-IP dialog offers them; false
// when the answers end early.
bool AskAddress(Arguments &arguments) {
  const auto mode = ReadInputLine(Tr(u"DHCP") + " (d) / " + Tr(u"Static") + " (s)? ");
  if (!mode || mode->empty()) {
    return false;
  }
  if ((*mode)[0] == 'd' || (*mode)[0] == 'D') {
    arguments.SetFlag("dhcp");
    return true;
  }
  const auto ip = ReadInputLine(Tr(u"IP ADDress") + ": ");
  const auto mask = ip ? ReadInputLine(Tr(u"Subnet Mask") + ": ") : std::nullopt;
  const auto gateway = mask ? ReadInputLine(Tr(u"Gateway IP") + ": ") : std::nullopt;
  if (!gateway) {
    return false;
  }
  arguments.SetFlag("static");
  arguments.SetValue("ip", *ip);
  arguments.SetValue("mask", *mask);
  if (!gateway->empty()) {
    arguments.SetValue("gateway", *gateway);
  }
  return true;
}
// An administrator who accepts the new-address offer gets one change per run.
constexpr int kMaxAddressChanges = 1;

void ErrUnlessEmpty(std::u16string_view message) {
  if (!message.empty()) {
    Err(Tr(message));
  }
}

// The box accepted the credentials: every end but these came after its yes.
bool CredentialsWereAccepted(LoginResult result) {
  switch (result) {
  case LoginResult::None:
  case LoginResult::NotStarted:
  case LoginResult::CredentialsRefused:
  case LoginResult::NoVerdict:
    return false;
  default:
    return true;
  }
}
} // namespace

LoginSession::~LoginSession() {
  Close();
}

std::string LoginSession::BoxName() const {
  return std::string(FieldText(Device().name, sizeof Device().name));
}

ExitStatus LoginSession::Open() {
  ExitStatus failure = ExitStatus::Failed;
  const std::string wanted = m_context.args.Word(0);
  if (wanted.empty()) {
    Err("Name the NAS: its name, address or hardware address.");
    return ExitStatus::Usage;
  }
  auto selected = SelectBox(m_context.window, wanted, failure);
  if (!selected) {
    return failure;
  }
  m_box = *selected;

  const std::string section = BoxName();
  auto login = GatherLogin(m_context.args, section, section, m_presetPassword, failure);
  if (!login) {
    return failure;
  }
  m_login = *login;
  m_administrator = Utf8ToUtf16(m_login.user) == kAdministratorName;
  if (m_adminOnly && !m_administrator) {
    Err("Only the administrator (user \"admin\") may change these settings.");
    return ExitStatus::Failed;
  }

  // The box connected to last names the section that a refused check empties.
  // A login to remember is written once the box has accepted it, so that a
  // mistyped password never takes the place of one that works; --forget
  // empties the remembered one at once.
  m_section = section;
  m_rememberWhenAccepted = m_context.args.Has("remember");
  if (!m_rememberWhenAccepted && m_context.args.Has("forget")) {
    if (!RememberConnection(section, false, {}, {})) {
      ReportNotRemembered(m_context);
    }
  } else {
    SetLastBox(section);
  }
  return CheckCredentials();
}

ExitStatus LoginSession::CheckCredentials() {
  LoginRequest request;
  request.deviceIndex = Index();
  request.userName = Utf8ToUtf16(m_login.user);
  request.password = Utf8ToUtf16(m_login.password);
  request.readSessionInfo = m_sessionObserver != nullptr;
  request.checkOnly = m_checkOnly;
  if (!m_sequence.Start(request)) {
    ErrUnlessEmpty(m_sequence.Outcome().message);
    return ExitStatus::Failed;
  }
  if (!m_context.window.Run(m_sequence, limits::kSequenceRun)) {
    Err(Tr(kLoginFailedText));
    return ExitStatus::Failed;
  }
  const LoginOutcome &outcome = m_sequence.Outcome();
  switch (outcome.result) {
  case LoginResult::Connected:
  case LoginResult::CredentialsChecked:
    return ExitStatus::Success;
  case LoginResult::OutsideSubnet:
    return OfferNewAddress(outcome.message);
  default:
    // A refused check has shown its reason itself.
    ErrUnlessEmpty(outcome.message);
    return ExitStatus::Failed;
  }
}

ExitStatus LoginSession::OfferNewAddress(std::u16string_view question) {
  const MessageBoxResult answer =
      ShowMessageBox(0, Translate(question), std::u16string(kProgramTitle),
                     MessageBoxButtons::OkCancel, MessageBoxIcon::Question);
  if (answer != MessageBoxResult::Ok) {
    return ExitStatus::Failed;
  }
  if (m_addressChanges >= kMaxAddressChanges) {
    return ExitStatus::Failed;
  }
  // The new address comes from the options, or from the person at the terminal.
  Arguments withAddress = m_context.args;
  if (!HasAddressOptions(withAddress) && !(CanAsk() && AskAddress(withAddress))) {
    Err("Give the new address with the set-ip command: corvesta-cli set-ip " +
        VisibleText(BoxName()) + " --dhcp | --static --ip A --mask M [--gateway G]");
    return ExitStatus::Usage;
  }
  ++m_addressChanges;
  Context addressContext{withAddress, m_context.window};
  const AddressChangeRun run =
      ChangeBoxAddress(addressContext, m_box.box, [] { Err(Tr(kAddressTakenText)); });
  if (run.status != ExitStatus::Success) {
    return run.status;
  }
  // Found again by its hardware address: start over there.
  switch (run.search.result) {
  case AddressChangeResult::Found:
    m_box = SelectedBox{BoxChoice{run.search.deviceIndex, run.search.device}, run.search.adapters};
    return CheckCredentials();
  case AddressChangeResult::NotFoundYet:
    Err(FindBox({}, FieldString(Device().mac)).message);
    return ExitStatus::BoxNotFound;
  default:
    ErrUnlessEmpty(run.search.message);
    return ExitStatus::Failed;
  }
}

void LoginSession::RememberAcceptedLogin() {
  if (!m_rememberWhenAccepted) {
    return;
  }
  m_rememberWhenAccepted = false; // once
  if (!RememberConnection(m_section, true, m_login.user, m_login.password)) {
    ReportNotRemembered(m_context);
  }
}

void LoginSession::OnCredentialsAccepted() {
  RememberAcceptedLogin();
  // The web login follows at once: from here a signal must log out.
  SetLogoutDue(Index(), m_alsoLogOutAt);
  if (m_sessionObserver != nullptr) {
    m_sessionObserver->OnCredentialsAccepted();
  }
}

void LoginSession::OnLoggedIn() {
  m_loggedIn = true;
  if (m_sessionObserver != nullptr) {
    m_sessionObserver->OnLoggedIn();
  }
}

void LoginSession::OnAccessRights(std::u16string_view accessText) {
  if (m_sessionObserver != nullptr) {
    m_sessionObserver->OnAccessRights(accessText);
  }
}

void LoginSession::OnVolumes(const std::vector<VolumeUsage> &volumes) {
  if (m_sessionObserver != nullptr) {
    m_sessionObserver->OnVolumes(volumes);
  }
}

void LoginSession::OnLoginFinished(const LoginOutcome &outcome) {
  // Outside the subnet, or for the credential check alone, the yes ends the
  // sequence.
  if (CredentialsWereAccepted(outcome.result)) {
    RememberAcceptedLogin();
  }
  if (m_sessionObserver != nullptr) {
    m_sessionObserver->OnLoginFinished(outcome);
  }
}

void LoginSession::SkipLogout() {
  m_skipLogout = true;
  ClearLogoutDue();
}

void LoginSession::AlsoLogOutAt(const std::string &address) {
  m_alsoLogOutAt = address;
  if (!m_skipLogout && (m_loggedIn || m_sequence.LoginMayBeOpen())) {
    SetLogoutDue(Index(), address);
  }
}

void LoginSession::Close() {
  ClearLogoutDue();
  // A login whose answer was lost may have opened the session all the same.
  const bool due = !m_skipLogout && (m_loggedIn || m_sequence.LoginMayBeOpen());
  m_loggedIn = false;
  m_skipLogout = true; // once
  LogoutSequence logout(m_context.window.Host());
  if (due && !m_alsoLogOutAt.empty() && logout.StartAt(Index(), m_alsoLogOutAt, true)) {
    m_context.window.Run(logout, limits::kSequenceRun);
  }
  if (logout.Start(Index(), due)) {
    m_context.window.Run(logout, limits::kSequenceRun);
  }
}

} // namespace corvesta::cli
