#pragma once
// A session with one box, in the order the main window keeps: discovery and
// the box named on the command line, the login values, "ServName", the
// remembered credentials, the credential check, the subnet test (outside the
// subnet an administrator is offered a new address, other users are
// refused), then the web login. Close logs out; the destructor does too, so
// no path leaves the box logged in.

#include <cstdint>
#include <optional>
#include <string>

#include "cli/box_selection.h"
#include "cli/command_context.h"
#include "cli/credential_source.h"
#include "cli/exit_status.h"

namespace corvesta::cli {

class LoginSession {
public:
  explicit LoginSession(Context &context) : m_context(context) {}
  ~LoginSession();
  LoginSession(const LoginSession &) = delete;
  LoginSession &operator=(const LoginSession &) = delete;

  // The command changes the box's set-up, which the administrator alone may.
  void RequireAdministrator() { m_adminOnly = true; }
  // The login password, already read (by a command that reads more lines
  // from standard input).
  void PresetPassword(std::string password) { m_presetPassword = std::move(password); }

  // Success once logged in; otherwise the status to exit with (the reason
  // has been shown).
  ExitStatus Open();
  void Close();

  std::int32_t Index() const { return m_box.box.index; }
  const NasDevice &Device() const { return m_box.box.device; }
  const AdapterTable &Adapters() const { return m_box.adapters; }
  const LoginInput &Login() const { return m_login; }
  // The login user name is exactly "admin".
  bool IsAdministrator() const { return m_administrator; }
  std::string BoxName() const;
  // Logging out is pointless once the box has left this PC's subnet.
  void SkipLogout() { m_loggedIn = false; }

private:
  ExitStatus CheckCredentials();
  ExitStatus OfferNewAddress();
  ExitStatus WebLogin();

  Context &m_context;
  SelectedBox m_box;
  LoginInput m_login;
  bool m_administrator = false;
  bool m_loggedIn = false;
  int m_addressChanges = 0;
  bool m_adminOnly = false;
  std::optional<std::string> m_presetPassword;
};

} // namespace corvesta::cli
