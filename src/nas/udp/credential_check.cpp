#include "nas/udp/credential_check.h"

#include <cstring>
#include <functional>
#include <string>
#include <utility>

#include "app/program_info.h"
#include "app/remembered_settings.h"
#include "i18n/translate.h"
#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/protocol_timing.h"
#include "nas/query.h"
#include "nas/udp/udp_datagrams.h"
#include "nas/udp/udp_query.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "worker/private_messages.h"

namespace corvesta {

namespace {

void ShowError(const CQuery &query, std::u16string_view english) {
  ShowMessageBox(query.window, Translate(english), std::u16string(kProgramTitle),
                 MessageBoxButtons::Ok, MessageBoxIcon::Error);
}

// The check's waits on its query: the adapter's channel and the worker's
// wait point.
class QueryWaits : public CountedWaits {
public:
  QueryWaits(CQuery &query, UdpChannel &channel, std::function<bool(udp::Bytes)> take)
      : m_query(query), m_channel(channel), m_take(std::move(take)) {}
  WaitEnd Wait(std::chrono::microseconds duration) override {
    return WaitForDatagram(m_query, m_channel, duration, m_take);
  }
  bool Pause(std::chrono::microseconds duration) override { return m_query.PauseFor(duration); }

private:
  CQuery &m_query;
  UdpChannel &m_channel;
  std::function<bool(udp::Bytes)> m_take;
};

// A credential check's query: the common fields and the box's name, which
// names the section of its remembered login.
class CredentialQuery : public CQuery {
public:
  using CQuery::CQuery;
  std::string box;
};

CQuery::Disposition RunCredentialCheck(CQuery &base) {
  auto &query = static_cast<CredentialQuery &>(base);
  UdpChannel &channel = query.channels[static_cast<std::size_t>(query.adapterIndex)];
  if (!channel.Send(query.request)) {
    ShowError(query, u"result_sendto failed.");
  }
  const std::string_view target = FieldText(query.targetIp, sizeof query.targetIp);
  bool answered = false;
  std::uint8_t verdict = 0;
  auto take = [&](udp::Bytes datagram) {
    auto reply = udp::ParseCredReply(datagram, query.tag);
    if (!reply || FieldText(reply->ip, sizeof reply->ip) != target) {
      return false; // another box's verdict, or not a verdict at all
    }
    answered = true;
    verdict = reply->verdict;
    return true;
  };
  QueryWaits waits(query, channel, take);
  AwaitCredentialVerdict(waits);
  query.channels.clear();

  if (answered && verdict != 0) {
    return query.HandOver(kResultSuccess);
  }
  ClearCurrentCredentialsIf(query.sentCredentials);
  if (!answered) {
    // Silence is no refusal: the remembered login stays, and the run ends
    // unanswered so that the owner can say the box did not answer.
    return CQuery::Disposition::Finished;
  }
  ForgetLoginIfRemembered(query.box, query.sentCredentials.UserName(),
                          query.sentCredentials.Password());
  ShowError(query, u"Username or password error.");
  return query.HandOver(kResultFailure);
}

} // namespace

WaitEnd AwaitCredentialVerdict(CountedWaits &waits) {
  return RunCountedWaits(waits, timing::kCredWaits, timing::Scaled(timing::kCredWait),
                         timing::Scaled(timing::kCredPause));
}

Ticket StartCredentialCheck(WindowHandle window, std::u16string_view userName,
                            std::u16string_view password, std::int32_t deviceIndex) {
  const Credentials credentials = MakeCredentials(Utf16ToUtf8(userName), Utf16ToUtf8(password));
  SetCurrentCredentials(credentials);

  std::optional<NasDevice> device = DeviceList::Instance().At(deviceIndex);
  if (!device) {
    return 0;
  }
  const AdapterTable table = CurrentAdapterTable();
  if (device->adapter < 0 || static_cast<std::uint32_t>(device->adapter) >= table.count) {
    return 0;
  }
  auto query = std::make_unique<CredentialQuery>(window);
  query->kind = QueryKind::CredentialCheck;
  query->box = std::string(FieldText(device->name, sizeof device->name));
  query->deviceIndex = deviceIndex;
  query->adapterIndex = device->adapter;
  std::memcpy(query->targetIp, device->ip, sizeof query->targetIp);
  query->targetIp[sizeof query->targetIp - 1] = '\0';
  query->tag = CurrentRequestTag();
  query->adapters = table;
  query->sentCredentials = credentials;
  if (!SetUpUdpSockets(*query, table, static_cast<std::uint32_t>(device->adapter))) {
    return 0;
  }
  query->request = udp::BuildCredCheck(query->tag, device->wire_id, credentials.UserName(),
                                       credentials.Password());
  return CQuery::Launch(std::move(query), &RunCredentialCheck);
}

} // namespace corvesta
