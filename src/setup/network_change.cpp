#include "setup/network_change.h"

#include <algorithm>

#include "nas/device_list.h"
#include "nas/replies/wizard_info.h"
#include "nas/udp/adapter_table.h"
#include "nas/udp/subnet.h"
#include "platform/text_codec.h"
#include "setup/change_failure.h"
#include "setup/sequence_delay.h"
#include "worker/private_messages.h"

namespace corvesta {

namespace {

constexpr char16_t kSettingFailed[] = u"setting failed.";
constexpr char16_t kNoNewAddress[] = u"get NAS new ip error.";

template <std::size_t N> std::string_view Text(const char (&field)[N]) {
  return FieldText(field, N);
}

// The box's address as its LAN answer left it, against the adapter that
// reaches the box (the first one when the list no longer holds it).
bool InAdapterSubnet(std::int32_t deviceIndex, const WizardInfo &told) {
  const auto device = DeviceList::Instance().At(deviceIndex);
  const AdapterTable table = CurrentAdapterTable();
  const std::uint32_t adapter = device ? static_cast<std::uint32_t>(device->adapter) : 0;
  if (adapter >= table.count) {
    return false;
  }
  const AdapterEntry &entry = table.adapters[adapter];
  return InSameSubnet(Text(entry.address), Text(entry.mask), Text(told.ip), Text(told.netmask));
}

} // namespace

NetworkChange::NetworkChange(SequenceHost &host, NetworkChangeObserver &observer,
                             std::int32_t deviceIndex, const NetSettings &settings,
                             NetworkChangeRequests requests)
    : Sequence(host), m_observer(observer), m_deviceIndex(deviceIndex), m_settings(settings),
      m_requests(std::move(requests)) {}

NetworkChange::~NetworkChange() {
  StopTimers();
}

void NetworkChange::Start() {
  if (m_state != State::Idle) {
    return;
  }
  m_state = State::Locking;
  m_observer.OnStage(NetworkChangeStage::Sending);
  m_lock = m_requests.lockAddress(Host().Window(), m_deviceIndex);
  if (m_lock == 0) {
    End(NetworkChangeEnd::SettingsRefused, kSettingFailed);
    return;
  }
  // The box's answer to the lock is not waited for.
  Host().StartTimer(kSettingsTimer, TimerDelay(timing::kLockToSettingsPause));
}

void NetworkChange::SendSettings() {
  m_state = State::Sending;
  m_settingsTicket = m_requests.setNetwork(Host().Window(), m_deviceIndex, m_settings);
  if (m_settingsTicket == 0) {
    End(NetworkChangeEnd::SettingsRefused, kSettingFailed);
    return;
  }
  Host().StartTimer(kAnswerTimer, TimerDelay(timing::kWebRequestLimit));
}

void NetworkChange::Poll() {
  if (m_polls.size() >= static_cast<std::size_t>(timing::kAddressPolls)) {
    End(NetworkChangeEnd::NoNewAddress, kNoNewAddress);
    return;
  }
  const Ticket poll = m_requests.readLanAddress(Host().Window(), m_deviceIndex);
  m_polls.push_back(poll);
  if (poll == 0) {
    m_observer.OnNotice(kSettingFailed); // the polling goes on
  }
  Host().StartTimer(kPollTimer, TimerDelay(timing::kAddressPollPeriod));
}

void NetworkChange::AddressTold() {
  Host().StopTimer(kPollTimer);
  const WizardInfo told = CurrentWizardInfo();
  m_address = std::string(Text(told.ip));
  m_netmask = std::string(Text(told.netmask));
  if (!InAdapterSubnet(m_deviceIndex, told)) {
    End(NetworkChangeEnd::LeftSubnet);
    return;
  }
  m_state = State::Pausing;
  m_observer.OnStage(NetworkChangeStage::LoggingIn);
  Host().StartTimer(kLoginTimer, TimerDelay(timing::kReloginPause));
}

void NetworkChange::LogIn() {
  m_state = State::LoggingIn;
  m_login = m_requests.logIn(Host().Window(), m_deviceIndex, 1);
  if (m_login == 0) {
    End(NetworkChangeEnd::LoginRefused, kSettingFailed);
    return;
  }
  Host().StartTimer(kAnswerTimer, TimerDelay(timing::kWebRequestLimit));
}

bool NetworkChange::OnMessage(const Message &message) {
  if (!Running()) {
    return false;
  }
  if (message.message == WM_COMMAND_RESULT) {
    return OnCommandResult(static_cast<CommandIndex>(message.lParam), message.wParam);
  }
  if (message.message == WM_REQUEST_UNANSWERED) {
    return OnUnanswered(static_cast<Ticket>(message.wParam));
  }
  return false;
}

bool NetworkChange::OnCommandResult(CommandIndex index, WPARAM result) {
  const bool success = result == kResultSuccess;
  switch (index) {
  case CommandIndex::LockAddress:
    return true; // its outcome decides nothing
  case CommandIndex::SetNetwork:
    if (m_state == State::Sending) {
      Host().StopTimer(kAnswerTimer);
      if (!success) {
        End(NetworkChangeEnd::SettingsRefused,
            std::u16string(ChangeFailureText(result, kSettingFailed)));
        return true;
      }
      m_state = State::Polling;
      m_observer.OnStage(NetworkChangeStage::Polling);
      Host().StartTimer(kPollTimer, TimerDelay(timing::kAddressPollPeriod));
    }
    return true;
  case CommandIndex::ReadLanAddress:
    // A failed poll leaves the polling going; answers after the first
    // success or after the give-up change nothing.
    if (m_state == State::Polling && success) {
      AddressTold();
    }
    return true;
  case CommandIndex::LogIn:
    if (m_state == State::LoggingIn) {
      Host().StopTimer(kAnswerTimer);
      if (success) {
        End(NetworkChangeEnd::LoggedIn);
      } else {
        End(NetworkChangeEnd::LoginRefused, kSettingFailed);
      }
    }
    return true;
  default:
    return false;
  }
}

bool NetworkChange::OnUnanswered(Ticket ticket) {
  if (ticket == 0) {
    return false;
  }
  if (ticket == m_settingsTicket && m_state == State::Sending) {
    Host().StopTimer(kAnswerTimer);
    End(NetworkChangeEnd::SettingsRefused, kSettingFailed);
    return true;
  }
  if (ticket == m_login && m_state == State::LoggingIn) {
    Host().StopTimer(kAnswerTimer);
    End(NetworkChangeEnd::LoginRefused, kSettingFailed);
    return true;
  }
  return ticket == m_lock || ticket == m_settingsTicket || ticket == m_login ||
         std::find(m_polls.begin(), m_polls.end(), ticket) != m_polls.end();
}

void NetworkChange::OnTimer(int id) {
  switch (id) {
  case kSettingsTimer:
    if (m_state == State::Locking) {
      SendSettings();
    }
    break;
  case kPollTimer:
    if (m_state == State::Polling) {
      Poll();
    }
    break;
  case kLoginTimer:
    if (m_state == State::Pausing) {
      LogIn();
    }
    break;
  case kAnswerTimer:
    if (m_state == State::Sending) {
      End(NetworkChangeEnd::SettingsRefused, kSettingFailed);
    } else if (m_state == State::LoggingIn) {
      End(NetworkChangeEnd::LoginRefused, kSettingFailed);
    }
    break;
  default:
    break;
  }
}

void NetworkChange::End(NetworkChangeEnd end, std::u16string message) {
  StopTimers();
  m_state = State::Ended;
  NetworkChangeOutcome outcome;
  outcome.end = end;
  outcome.message = std::move(message);
  outcome.address = m_address;
  outcome.netmask = m_netmask;
  m_observer.OnEnd(outcome);
}

void NetworkChange::StopTimers() {
  for (int id : {kSettingsTimer, kPollTimer, kLoginTimer, kAnswerTimer}) {
    Host().StopTimer(id);
  }
}

} // namespace corvesta
