#include <optional>

#include "nas/replies/reply_parsers.h"
#include "nas/replies/reply_reading.h"
#include "nas/replies/utf8_reply_decoder.h"
#include "nas/replies/wizard_info.h"
#include "nas/xml/xml_document.h"

namespace corvesta {

namespace {

constexpr std::u16string_view kNoAddress = u"0.0.0.0";

// The children of lan, in the order the box writes them.
void ReadLan(CXmlDocument &document, WizardInfo &info) {
  document.FindChild(u"dhcp_enable");
  info.dhcp = ReplyNumber(document.GetChildText());
  document.FindChild(u"ip");
  StoreReplyText(info.ip, document.GetChildText());
  document.FindChild(u"netmask");
  StoreReplyText(info.netmask, document.GetChildText());
  document.FindChild(u"gateway");
  if (const std::u16string gateway = document.GetChildText(); !gateway.empty()) {
    StoreReplyText(info.gateway, gateway);
  }
  document.FindChild(u"dns1");
  if (const std::u16string dns = document.GetChildText(); !dns.empty() && dns != kNoAddress) {
    StoreReplyText(info.dns1, dns);
  }
  document.FindChild(u"dns2");
  if (const std::u16string dns = document.GetChildText(); !dns.empty() && dns != kNoAddress) {
    StoreReplyText(info.dns2, dns);
  }
}

// The children of system, in the order the box writes them.
void ReadSystem(CXmlDocument &document, WizardInfo &info) {
  bool whole = true;
  document.FindChild(u"name");
  whole = StoreReplyText(info.name, document.GetChildText()) && whole;
  document.FindChild(u"workgroup");
  whole = StoreReplyText(info.workgroup, document.GetChildText()) && whole;
  document.FindChild(u"description");
  whole = StoreReplyText(info.description, document.GetChildText()) && whole;
  info.identityCut = !whole;
  document.FindChild(u"timezone");
  info.timezone = ReplyNumber(document.GetChildText());
}

} // namespace

ParseOutcome ParseWizardInfo(CQuery &, std::string_view reply) {
  // A reply that cannot be read whole is no reading of the box's settings:
  // its fields would come back empty and be sent to the box as its values.
  WizardInfo info{};
  std::optional<std::u16string> text = DecodeWholeUtf8Reply(reply);
  CXmlDocument document;
  bool whole = text.has_value() && document.Parse(std::move(*text));
  if (whole && document.FindChild(u"lan")) {
    document.IntoChild();
    ReadLan(document, info);
    document.OutToParent();
  } else {
    whole = false;
  }
  if (whole && document.FindChild(u"system")) {
    document.IntoChild();
    ReadSystem(document, info);
    document.OutToParent();
  } else {
    whole = false;
  }
  if (!whole) {
    info = WizardInfo{};
  }
  SetCurrentWizardInfo(info);
  return {whole ? 0u : 1u, CQuery::Disposition::Finished};
}

} // namespace corvesta
