#include "nas/device_list.h"
#include "nas/replies/reply_parsers.h"
#include "nas/replies/reply_reading.h"
#include "nas/replies/wizard_info.h"
#include "nas/udp/subnet.h"
#include "nas/xml/xml_document.h"
#include "platform/text_codec.h"

namespace corvesta {

ParseOutcome ParseLanAddress(CQuery &query, std::string_view reply) {
  CXmlDocument document;
  document.Parse(ReplyText(reply));
  if (!document.FindSibling() || document.GetTagName() != u"info") {
    return {1, CQuery::Disposition::Finished};
  }
  document.FindChild(u"ip1");
  const std::u16string ip = document.GetChildText();
  document.FindChild(u"netmask1");
  const std::u16string netmask = document.GetChildText();
  document.FindChild(u"gateway1");
  const std::u16string gateway = document.GetChildText();
  if (ip == u"0.0.0.0") {
    return {1, CQuery::Disposition::Finished};
  }
  char ipField[16] = {};
  char netmaskField[16] = {};
  char gatewayField[16] = {};
  StoreReplyText(ipField, ip);
  StoreReplyText(netmaskField, netmask);
  StoreReplyText(gatewayField, gateway);
  // Only into the record the request was built from: a list rebuilt since
  // may hold another box at that position.
  DeviceList::Instance().Update(query.discoveryGeneration, [&](std::vector<NasDevice> &devices) {
    if (query.deviceIndex < 0 || static_cast<std::size_t>(query.deviceIndex) >= devices.size()) {
      return;
    }
    NasDevice &device = devices[static_cast<std::size_t>(query.deviceIndex)];
    static_assert(sizeof device.ip == sizeof ipField &&
                  sizeof device.netmask == sizeof netmaskField &&
                  sizeof device.gateway == sizeof gatewayField);
    std::copy(std::begin(ipField), std::end(ipField), device.ip);
    std::copy(std::begin(netmaskField), std::end(netmaskField), device.netmask);
    std::copy(std::begin(gatewayField), std::end(gatewayField), device.gateway);
    // The box knows itself by its hardware address and its address now: the
    // next credential check or address change names it so.
    if (const auto address = ParseDottedQuad(FieldText(ipField, sizeof ipField))) {
      for (std::size_t i = 0; i < 4; ++i) {
        device.wire_id[kWireIdAddressOffset + i] =
            static_cast<std::uint8_t>(*address >> (24 - 8 * i));
      }
    }
  });
  SetCurrentWizardAddress(ipField, netmaskField, gatewayField);
  return {0, CQuery::Disposition::Finished};
}

} // namespace corvesta
