#pragma once
// A session with one box, in the order the main window keeps: discovery and
// the box named on the command line, the login values, "ServName" (and
// --forget), then the core's login sequence (credential check, subnet test,
// web login); the login to remember is written once the check accepted it. Outside the subnet an
// administrator is offered a new address. Close logs out whenever a login may be open (also when
// the login's answer was lost); the destructor does too, and so does a SIGINT, SIGTERM or SIGHUP
// meanwhile, so no path leaves the box logged in.

#include <cstdint>
#include <optional>
#include <string>

#include "cli/box_selection.h"
#include "cli/command_context.h"
#include "cli/credential_source.h"
#include "cli/exit_status.h"
#include "setup/login_sequence.h"

namespace corvesta::cli {

class LoginSession : private LoginObserver {
public:
  explicit LoginSession(Context &context)
      : m_context(context), m_sequence(context.window.Host(), *this) {}
  ~LoginSession() override;
  LoginSession(const LoginSession &) = delete;
  LoginSession &operator=(const LoginSession &) = delete;

  // The command changes the box's set-up, which the administrator alone may.
  void RequireAdministrator() { m_adminOnly = true; }
  // Only the credential check: Open succeeds once the box has accepted the
  // credentials (inside this PC's subnet or not) and logs in to nothing.
  void CheckOnly() { m_checkOnly = true; }
  // The login password, already read (by a command that reads more lines
  // from standard input).
  void PresetPassword(std::string password) { m_presetPassword = std::move(password); }
  // After the login, a user's access rights and then the volume list are
  // read; `observer` sees them (and the login) as they come.
  void ReadSessionInfo(LoginObserver &observer) { m_sessionObserver = &observer; }

  // Success once logged in (and the session information read, when asked
  // for); otherwise the status to exit with (the reason has been shown).
  ExitStatus Open();
  void Close();

  std::int32_t Index() const { return m_box.box.index; }
  const NasDevice &Device() const { return m_box.box.device; }
  const AdapterTable &Adapters() const { return m_box.adapters; }
  const LoginInput &Login() const { return m_login; }
  // The login user name is exactly "admin".
  bool IsAdministrator() const { return m_administrator; }
  std::string BoxName() const;
  // Logging out is pointless once the box has left this PC's subnet, and
  // unwanted when the browser keeps the session.
  void SkipLogout();
  // The box may answer at `address` too (new settings whose address was
  // never confirmed): Close logs out there as well.
  void AlsoLogOutAt(const std::string &address);

private:
  ExitStatus CheckCredentials();
  ExitStatus OfferNewAddress(std::u16string_view question);
  // --remember: the login is written once the box has accepted it.
  void RememberAcceptedLogin();

  void OnCredentialsAccepted() override;
  void OnLoggedIn() override;
  void OnAccessRights(std::u16string_view accessText) override;
  void OnVolumes(const std::vector<VolumeUsage> &volumes) override;
  void OnLoginFinished(const LoginOutcome &outcome) override;

  Context &m_context;
  LoginSequence m_sequence;
  LoginObserver *m_sessionObserver = nullptr;
  SelectedBox m_box;
  LoginInput m_login;
  std::string m_section; // the box's section of the settings
  bool m_rememberWhenAccepted = false;
  bool m_administrator = false;
  bool m_loggedIn = false;
  bool m_skipLogout = false;
  std::string m_alsoLogOutAt;
  int m_addressChanges = 0;
  bool m_adminOnly = false;
  bool m_checkOnly = false;
  std::optional<std::string> m_presetPassword;
};

} // namespace corvesta::cli
