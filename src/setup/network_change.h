#pragma once
// New LAN settings for a box and what follows them: the address lock, after a
// short pause the settings, then the box's LAN address read once a period
// until it answers (at most timing::kAddressPolls times), the subnet test on
// the adapter that reaches the box and, inside the PC's subnet and after a
// pause, the wizard's login at the new address.
//
// The caller has logged in, checked the settings and asked its questions;
// the sequence sends exactly the settings it is given.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "nas/http/command_set.h"
#include "nas/http/request_records.h"
#include "nas/query_kind.h"
#include "setup/sequence.h"

namespace corvesta {

enum class NetworkChangeEnd {
  SettingsRefused, // lock or settings not started, refused or unanswered
  NoNewAddress,    // the box did not tell its address within the polls
  LeftSubnet,      // the box answers outside the PC's subnet: the owner decides
  LoginRefused,    // the login at the new address failed
  LoggedIn,        // logged in again at the new address
};

struct NetworkChangeOutcome {
  NetworkChangeEnd end = NetworkChangeEnd::SettingsRefused;
  // The system's text to show (English source text); empty for LeftSubnet
  // and LoggedIn.
  std::u16string message;
  // The box's address and mask as it last told them (LeftSubnet, LoginRefused
  // and LoggedIn).
  std::string address;
  std::string netmask;

  bool Succeeded() const { return end == NetworkChangeEnd::LoggedIn; }
};

enum class NetworkChangeStage {
  Sending,   // the address lock and the settings
  Polling,   // the box has taken the settings; its new address is asked for
  LoggingIn, // the box answers inside the PC's subnet; the pause and the login
};

class NetworkChangeObserver {
public:
  virtual ~NetworkChangeObserver() = default;
  virtual void OnStage(NetworkChangeStage stage) = 0;
  // A text to show while the change goes on (a poll that could not start).
  virtual void OnNotice(std::u16string_view text) = 0;
  // Once, at the end; Running() is false by then.
  virtual void OnEnd(const NetworkChangeOutcome &outcome) = 0;
};

// The requests the change starts: the command set's, or a script's in tests.
struct NetworkChangeRequests {
  std::function<Ticket(WindowHandle, std::int32_t)> lockAddress = StartLockAddress;
  std::function<Ticket(WindowHandle, std::int32_t, const NetSettings &)> setNetwork =
      StartSetNetwork;
  std::function<Ticket(WindowHandle, std::int32_t)> readLanAddress = StartReadLanAddress;
  std::function<Ticket(WindowHandle, std::int32_t, std::uint32_t)> logIn = StartLogIn;
};

class NetworkChange : public Sequence {
public:
  // The timers the change asks its host for.
  enum Timer : int { kSettingsTimer = 1, kPollTimer = 2, kLoginTimer = 3, kAnswerTimer = 4 };

  // The observer and the host outlive the sequence.
  NetworkChange(SequenceHost &host, NetworkChangeObserver &observer, std::int32_t deviceIndex,
                const NetSettings &settings, NetworkChangeRequests requests = {});
  ~NetworkChange() override;

  // Locks the address; the settings follow on a timer.
  void Start();

  bool OnMessage(const Message &message) override;
  void OnTimer(int id) override;
  bool Running() const override { return m_state != State::Idle && m_state != State::Ended; }

private:
  enum class State { Idle, Locking, Sending, Polling, Pausing, LoggingIn, Ended };

  bool OnCommandResult(CommandIndex index, WPARAM result);
  bool OnUnanswered(Ticket ticket);
  void SendSettings();
  void Poll();
  void AddressTold();
  void LogIn();
  void End(NetworkChangeEnd end, std::u16string message = {});
  void StopTimers();

  NetworkChangeObserver &m_observer;
  const std::int32_t m_deviceIndex;
  const NetSettings m_settings;
  NetworkChangeRequests m_requests;
  State m_state = State::Idle;
  Ticket m_lock = 0;
  Ticket m_settingsTicket = 0;
  Ticket m_login = 0;
  std::vector<Ticket> m_polls; // at most timing::kAddressPolls
  std::string m_address;       // as the box told it in its LAN answer
  std::string m_netmask;
};

} // namespace corvesta
