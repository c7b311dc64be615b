#include "cli/login_session.h"

#include "app/program_info.h"
#include "app/remembered_settings.h"
#include "cli/address_change_flow.h"
#include "cli/terminal.h"
#include "cli/text_output.h"
#include "cli/wait_limits.h"
#include "i18n/translate.h"
#include "nas/current_credentials.h"
#include "nas/http/command_set.h"
#include "nas/udp/credential_check.h"
#include "nas/udp/subnet.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"

namespace corvesta::cli {

namespace {
constexpr std::int32_t kAccountInUseFlag = 5;

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
  m_administrator = m_login.user == kDefaultUser;
  if (m_adminOnly && !m_administrator) {
    Err("Only the administrator (user \"admin\") may change these settings.");
    return ExitStatus::Failed;
  }

  // The box connected to last names the section that a refused check empties.
  SetLastBox(section);
  if (m_context.args.Has("remember")) {
    StoreLogin(section, m_login.user, m_login.password);
  } else if (m_context.args.Has("forget")) {
    ForgetLogin(section);
  }
  return CheckCredentials();
}

ExitStatus LoginSession::CheckCredentials() {
  const Ticket ticket = StartCredentialCheck(m_context.window.Handle(), Utf8ToUtf16(m_login.user),
                                             Utf8ToUtf16(m_login.password), Index());
  if (ticket == 0) {
    Err(Tr(u"Login failed."));
    return ExitStatus::Failed;
  }
  // A refusal is reported by the check itself, with a message box.
  auto accepted =
      m_context.window.WaitForQuery(ticket, limits::kCredentialCheck, {}, /*endOnMessageBox=*/true);
  if (!accepted) {
    return ExitStatus::Failed;
  }
  // Done with: a query kept alive would hold later waits to their limits.
  accepted.reset();
  ClearCurrentCredentials();

  if (!IsInAdapterSubnet(Device(), Adapters())) {
    return OfferNewAddress();
  }
  SetCurrentCredentials(
      MakeCredentials(m_administrator ? kDefaultUser : m_login.user, m_login.password));
  return WebLogin();
}

ExitStatus LoginSession::OfferNewAddress() {
  if (!m_administrator) {
    Err(Tr(u"Not the same network segment, you need adminstrator privileges to change the IP of "
           u"NAS."));
    return ExitStatus::Failed;
  }
  const MessageBoxResult answer = ShowMessageBox(
      0, Translate(u"Not the same subnet, do you want to change NAS IP address?"),
      std::u16string(kProgramTitle), MessageBoxButtons::OkCancel, MessageBoxIcon::Question);
  if (answer != MessageBoxResult::Ok) {
    return ExitStatus::Failed;
  }
  if (m_addressChanges >= kMaxAddressChanges) {
    return ExitStatus::Failed;
  }
  // The new address comes from the options, or from the person at the terminal.
  Arguments withAddress = m_context.args;
  if (!HasAddressOptions(withAddress) && !(CanAsk() && AskAddress(withAddress))) {
    Err("Give the new address with the set-ip command: corvesta-cli set-ip " + BoxName() +
        " --dhcp | --static --ip A --mask M [--gateway G]");
    return ExitStatus::Usage;
  }
  ++m_addressChanges;
  Context addressContext{withAddress, m_context.window};
  const ExitStatus changed = ChangeBoxAddress(addressContext, m_box.box);
  if (changed != ExitStatus::Success) {
    return changed;
  }
  Err(Tr(u"Network Storage IP setup successfully, connecting...."));
  // Find the box again by its hardware address and start over.
  ExitStatus failure = ExitStatus::Failed;
  auto again = SelectBox(m_context.window,
                         std::string(FieldText(Device().mac, sizeof Device().mac)), failure);
  if (!again) {
    return failure;
  }
  m_box = *again;
  return CheckCredentials();
}

ExitStatus LoginSession::WebLogin() {
  const Ticket ticket = StartLogIn(m_context.window.Handle(), Index(), 0);
  if (ticket == 0) {
    Err(Tr(u"Login failed."));
    ClearCurrentCredentials();
    return ExitStatus::Failed;
  }
  auto result = m_context.window.WaitForQuery(ticket, limits::kWebRequest);
  if (!result || !result->Succeeded()) {
    if (result && result->query && result->query->loginFlag == kAccountInUseFlag) {
      Err(Tr(u"This user account is currently in use by somebody else. Please contact the "
             u"administrator or try to login later."));
    } else {
      Err(Tr(u"Login failed."));
    }
    ClearCurrentCredentials();
    return ExitStatus::Failed;
  }
  m_loggedIn = true;
  return ExitStatus::Success;
}

void LoginSession::Close() {
  if (m_loggedIn) {
    m_loggedIn = false;
    const Ticket ticket = StartLogOut(m_context.window.Handle(), Index());
    if (ticket != 0) {
      m_context.window.WaitForQuery(ticket, limits::kLogout);
    }
  }
  ClearCurrentCredentials();
}

} // namespace corvesta::cli
