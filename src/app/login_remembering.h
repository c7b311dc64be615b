#pragma once
// What a login that a person asked for leaves in the settings file, and when.
//
// The login dialog (or the command line) returns a user name, a password and
// whether they are to be remembered. Written before the box has checked
// them, a mistyped password would replace the login that worked, and the
// box's refusal would then empty it. So the credentials are written only
// once the box has accepted them. What needs no check is written at the
// start: the box as the one connected to last and, when the person asked
// not to be remembered, the box's remembered login emptied at once.
//
// A refusal writes nothing here: the credential check itself empties a
// remembered login that is exactly the refused pair (the box no longer takes
// it) and leaves any other alone.

#include <string>
#include <string_view>

namespace corvesta {

enum class LoginMemory {
  Leave,    // the box's remembered login stays as it is
  Remember, // kept once the box has accepted it
  Forget,   // emptied at the start
};

// At the start of the login, before the credential check: the box becomes
// the one connected to last; with Forget its remembered login is emptied in
// the same write. False when the write was dropped (LastWriteProblem says
// why).
bool RememberLoginStart(std::string_view box, LoginMemory memory);

// Once the box has accepted the credentials: with Remember, the user name
// and the password are kept for the box, together with the box as the one
// connected to last. Leave and Forget write nothing. False when the write
// was dropped, or when the login of a box without a name was to be
// remembered (as RememberConnection).
bool RememberAcceptedLogin(std::string_view box, LoginMemory memory, std::string_view user,
                           std::string_view password);

// One login's memory from its start to the box's verdict, for a front end
// that starts logins one after the other: Begin at the start, Accepted when
// the box has accepted the credentials, Drop when the login is given up or
// refused. Only the latest Begin counts, and Accepted writes once.
class PendingLoginMemory {
public:
  // RememberLoginStart, and what Accepted will write.
  bool Begin(std::string_view box, LoginMemory memory, std::string_view user,
             std::string_view password);
  // RememberAcceptedLogin for the login begun last; true when nothing was
  // waiting or nothing needed writing.
  bool Accepted();
  void Drop();
  bool Waiting() const { return m_waiting; }

private:
  std::string m_box;
  LoginMemory m_memory = LoginMemory::Leave;
  std::string m_user;
  std::string m_password;
  bool m_waiting = false;
};

} // namespace corvesta
