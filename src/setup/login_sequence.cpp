#include "setup/login_sequence.h"

#include "i18n/own_texts.h"
#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "nas/udp/adapter_table.h"
#include "nas/udp/subnet.h"
#include "platform/text_codec.h"
#include "worker/private_messages.h"

namespace corvesta {

bool LoginSequence::Start(const LoginRequest &request) {
  StopWaiting();
  m_volumes.Abandon();
  m_request = request;
  m_administrator = request.userName == kAdministratorName;
  m_loggedIn = false;
  m_loginMayBeOpen = false;
  m_outcome = {};
  const Ticket ticket = Requests().CredentialCheck(Host().Window(), request.userName,
                                                   request.password, request.deviceIndex);
  if (ticket == 0) {
    Finish(LoginResult::NotStarted, kLoginFailedText);
    return false;
  }
  m_step = Step::CredentialCheck;
  Await(ticket, Awaiting::QueryResult, timing::kCredentialCheckLimit);
  return true;
}

void LoginSequence::Abandon() {
  StopWaiting();
  m_volumes.Abandon();
  m_step = Step::Idle;
}

void LoginSequence::OnQueryResult(WPARAM result, std::unique_ptr<CQuery> query) {
  const bool success = result == kResultSuccess;
  switch (m_step) {
  case Step::CredentialCheck:
    if (success) {
      CredentialsAccepted();
    } else {
      // The box refused: the check has said so and emptied what it must.
      ClearCurrentCredentials();
      Finish(LoginResult::CredentialsRefused);
    }
    break;
  case Step::WebLogin:
    LoginAnswered(success, query->loginFlag);
    break;
  case Step::AccessRights:
    m_observer.OnAccessRights(success ? std::u16string_view(query->accessText)
                                      : std::u16string_view());
    StartVolumes();
    break;
  case Step::Volumes:
    if (success) {
      m_observer.OnVolumes(m_volumes.Take());
      Finish(LoginResult::Connected);
    } else {
      m_volumes.Abandon();
      Finish(LoginResult::VolumesUnread, kVolumeInfoFailedText);
    }
    break;
  case Step::Idle:
    break;
  }
}

void LoginSequence::OnUnanswered() {
  switch (m_step) {
  case Step::CredentialCheck:
    // No verdict: nothing was refused, so nothing remembered is touched.
    ClearCurrentCredentials();
    Finish(LoginResult::NoVerdict, kNoVerdictText);
    break;
  case Step::WebLogin:
    LoginUnknown();
    break;
  case Step::AccessRights:
    // No rights could be read: the user gets what a user without rights gets.
    m_observer.OnAccessRights({});
    StartVolumes();
    break;
  case Step::Volumes:
    // Without an answer the worker may still hold the list.
    m_volumes.Abandon();
    Finish(LoginResult::VolumesUnread, kVolumeInfoFailedText);
    break;
  case Step::Idle:
    break;
  }
}

void LoginSequence::CredentialsAccepted() {
  ClearCurrentCredentials();
  m_observer.OnCheckAccepted();
  if (m_request.checkOnly) {
    Finish(LoginResult::CredentialsChecked);
    return;
  }
  const std::optional<NasDevice> device = DeviceList::Instance().At(m_request.deviceIndex);
  if (!device) {
    // A newer discovery has rebuilt the list: the box is no longer known.
    Finish(LoginResult::LoginRefused, kLoginFailedText);
    return;
  }
  if (!IsInAdapterSubnet(*device, CurrentAdapterTable())) {
    if (m_administrator) {
      Finish(LoginResult::OutsideSubnet, kChangeAddressQuestion);
    } else {
      Finish(LoginResult::AdministratorNeeded, kAdministratorNeededText);
    }
    return;
  }
  const std::u16string &user =
      m_administrator ? std::u16string(kAdministratorName) : m_request.userName;
  SetCurrentCredentials(MakeCredentials(Utf16ToUtf8(user), Utf16ToUtf8(m_request.password)));
  m_observer.OnCredentialsAccepted();
  const Ticket ticket = Requests().LogIn(Host().Window(), m_request.deviceIndex);
  if (ticket == 0) {
    LoginFailed(LoginResult::LoginRefused, kLoginFailedText);
    return;
  }
  m_step = Step::WebLogin;
  m_loginMayBeOpen = true; // until the box plainly refuses
  Await(ticket, Awaiting::QueryResult, timing::kWebRequestLimit);
}

void LoginSequence::LoginAnswered(bool success, std::int32_t loginFlag) {
  if (!success && loginFlag < 0) {
    // Neither success nor a refusal's flag: the reply could not be read.
    LoginUnknown();
    return;
  }
  if (!success) {
    m_loginMayBeOpen = false;
    if (loginFlag == kAccountInUseFlag) {
      LoginFailed(LoginResult::AccountInUse, kAccountInUseText);
    } else {
      LoginFailed(LoginResult::LoginRefused, kLoginFailedText);
    }
    return;
  }
  m_loggedIn = true;
  m_observer.OnLoggedIn();
  if (!m_request.readSessionInfo) {
    Finish(LoginResult::Connected);
  } else if (m_administrator) {
    StartVolumes();
  } else {
    StartAccessRights();
  }
}

void LoginSequence::StartAccessRights() {
  const Ticket ticket = Requests().ReadUserAccess(Host().Window(), m_request.deviceIndex);
  if (ticket == 0) {
    m_observer.OnAccessRights({});
    StartVolumes();
    return;
  }
  m_step = Step::AccessRights;
  Await(ticket, Awaiting::QueryResult, timing::kWebRequestLimit);
}

void LoginSequence::StartVolumes() {
  const Ticket ticket = m_volumes.Start(Requests(), Host().Window(), m_request.deviceIndex);
  if (ticket == 0) {
    Finish(LoginResult::VolumesUnread, kVolumeInfoFailedText);
    return;
  }
  m_step = Step::Volumes;
  Await(ticket, Awaiting::QueryResult, timing::kWebRequestLimit);
}

void LoginSequence::LoginFailed(LoginResult result, std::u16string_view message) {
  // As a logout: nothing is logged in, so only the credentials go.
  ClearCurrentCredentials();
  Finish(result, message);
}

void LoginSequence::LoginUnknown() {
  // The box may have opened the session: the credentials stay current for
  // the owner's logout, which empties them.
  Finish(LoginResult::LoginRefused, kLoginFailedText);
}

void LoginSequence::Finish(LoginResult result, std::u16string_view message) {
  m_step = Step::Idle;
  m_outcome = LoginOutcome{result, message};
  m_observer.OnLoginFinished(m_outcome);
}

} // namespace corvesta
