#pragma once
// Logging in to a box, in the order the main window keeps at Connect:
//   1. the credential check by datagram (a refusal is reported by the check
//      itself: "Username or password error.");
//   2. once accepted, the subnet test against the adapter the box was found
//      through. Outside the subnet an administrator may give the box a new
//      address (the owner asks and decides); any other user is refused;
//   3. inside it, the current user name and password are set ("admin" for
//      the administrator) and the web login follows; a refusal with login
//      flag 5 means the account is in use elsewhere;
//   4. when asked for, the session information: a user's access rights
//      first, then the volume list.
// Every failure after the check leaves the current credentials empty, as a
// logout does, except a web login whose answer was lost or unreadable: the
// box may have opened the session, so the credentials stay for the logout.
// Logging out is the owner's: LoginMayBeOpen tells whether a logout is due,
// LogoutSequence does it.
//
// The check itself tells a refusal from silence: a refused check shows
// "Username or password error." and empties the remembered login only when
// it was exactly the refused pair; a check without a verdict ends with
// NoVerdict and changes nothing that is remembered.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "setup/request_sequence.h"
#include "setup/volume_list_reading.h"

namespace corvesta {

// The only user name that is the administrator, compared exactly.
inline constexpr std::u16string_view kAdministratorName = u"admin";
// The flag of a refused login whose account is in use elsewhere.
inline constexpr std::int32_t kAccountInUseFlag = 5;

inline constexpr std::u16string_view kLoginFailedText = u"Login failed.";
inline constexpr std::u16string_view kChangeAddressQuestion =
    u"Not the same subnet, do you want to change NAS IP address?";
inline constexpr std::u16string_view kAdministratorNeededText =
    u"Not the same network segment, you need adminstrator privileges to change the IP of NAS.";
inline constexpr std::u16string_view kAccountInUseText =
    u"This user account is currently in use by somebody else. Please contact the administrator "
    u"or try to login later.";
inline constexpr std::u16string_view kVolumeInfoFailedText = u"Get Volume Information failed.";

// The timer a login sequence uses on its host.
inline constexpr int kLoginTimerId = 0x4C01;

struct LoginRequest {
  std::int32_t deviceIndex = -1; // position in the device list
  std::u16string userName;       // as entered
  std::u16string password;
  bool readSessionInfo = true; // access rights (users) and volume list after the login
  // Only the credential check: the sequence ends with CredentialsChecked once
  // the box has accepted, inside its subnet or not, and sends no web login.
  bool checkOnly = false;
};

enum class LoginResult {
  None,               // still running, or not started
  Connected,          // logged in (and the session information read, when asked for)
  NotStarted,         // the credential check could not be started
  CredentialsRefused, // refused; the check has shown why
  NoVerdict,          // the check got no verdict in time: nothing was refused or forgotten
  CredentialsChecked, // checkOnly: the box accepted the credentials
  OutsideSubnet,      // administrator, box outside this PC's subnet: a new address may help
  AdministratorNeeded,
  LoginRefused,  // the web login failed or got no answer
  AccountInUse,  // the web login was refused with flag 5
  VolumesUnread, // logged in, but the volume list could not be read
};

struct LoginOutcome {
  LoginResult result = LoginResult::None;
  // The system's English text to show (through Translate); empty when there
  // is nothing more to show. For OutsideSubnet it is the question to ask.
  std::u16string_view message;
};

class LoginObserver {
public:
  virtual ~LoginObserver() = default;
  // The box accepted the credentials, inside its subnet or not (the check
  // alone too); the first word of an accepted check, before anything follows
  // from it. What the person asked to be remembered is written here.
  virtual void OnCheckAccepted() {}
  // The check was accepted inside the subnet: the current user name and
  // password are set, the web login is under way.
  virtual void OnCredentialsAccepted() {}
  // The web login succeeded: the box counts this PC as logged in until a
  // logout.
  virtual void OnLoggedIn() {}
  // A user's access rights text; empty when the user has none or they could
  // not be read.
  virtual void OnAccessRights(std::u16string_view accessText) { static_cast<void>(accessText); }
  virtual void OnVolumes(const std::vector<VolumeUsage> &volumes) { static_cast<void>(volumes); }
  // The end, whatever it is; Running() is false from here on.
  virtual void OnLoginFinished(const LoginOutcome &outcome) = 0;
};

class LoginSequence : public RequestSequence {
public:
  LoginSequence(SequenceHost &host, LoginObserver &observer, BoxRequests &requests = CoreRequests())
      : RequestSequence(host, kLoginTimerId, requests), m_observer(observer) {}

  // Starts the credential check; the texts become the current user name and
  // password. False when it could not be started (OnLoginFinished with
  // NotStarted has been called then). A running login is abandoned first.
  bool Start(const LoginRequest &request);

  bool Running() const override { return m_step != Step::Idle; }

  // Gives the sequence up where it stands, without a callback: the result
  // of the request in flight is no longer its own. LoginMayBeOpen keeps its
  // value, so that the owner logs out of a web login that was under way.
  void Abandon();

  const LoginOutcome &Outcome() const { return m_outcome; }
  // The login user name is exactly "admin".
  bool IsAdministrator() const { return m_administrator; }
  // The web login succeeded; stays true after the end, until the next Start.
  bool LoggedIn() const { return m_loggedIn; }
  // The web login was sent and the box did not plainly refuse it: it
  // succeeded, or its answer was lost or unreadable, so the box may count
  // this PC as logged in. A logout is due; stays until the next Start.
  bool LoginMayBeOpen() const { return m_loginMayBeOpen; }
  std::int32_t DeviceIndex() const { return m_request.deviceIndex; }

protected:
  void OnQueryResult(WPARAM result, std::unique_ptr<CQuery> query) override;
  void OnUnanswered() override;

private:
  enum class Step { Idle, CredentialCheck, WebLogin, AccessRights, Volumes };

  void CredentialsAccepted();
  void LoginAnswered(bool success, std::int32_t loginFlag);
  void StartAccessRights();
  void StartVolumes();
  void LoginFailed(LoginResult result, std::u16string_view message);
  // The web login's answer is lost or unreadable.
  void LoginUnknown();
  void Finish(LoginResult result, std::u16string_view message = {});

  LoginObserver &m_observer;
  LoginRequest m_request;
  Step m_step = Step::Idle;
  bool m_administrator = false;
  bool m_loggedIn = false;
  bool m_loginMayBeOpen = false;
  LoginOutcome m_outcome;
  VolumeListReading m_volumes;
};

} // namespace corvesta
