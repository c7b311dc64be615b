#include "ui/wizard/network_page.h"

#include "i18n/own_texts.h"
#include "i18n/translate.h"
#include "nas/udp/subnet.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "setup/address_change_plan.h"
#include "setup/network_entry.h"
#include "ui/main/address_names.h"
#include "ui/main/ui_text.h"
#include "ui/platform/qt_sequence_host.h"
#include "ui/qt_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/dialog_group.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_ip_addr_ctl.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/trans_static.h"
#include "ui/wizard/page_controls.h"
#include "ui/wizard/wizard_dialog_base.h"
#include "ui/wizard/wizard_ids.h"
#include "ui/wizard/wizard_layout.h"
#include "ui/wizard/wizard_messages.h"
#include "worker/private_messages.h"

namespace corvesta {

using namespace wizard_ids;
namespace lay = wizard_layout;

namespace {

constexpr std::array<std::u16string_view, 5> kLabelTexts{u"IP ADDress", u"Subnet Mask",
                                                         u"Gateway IP", u"DNS 1", u"DNS 2"};
constexpr std::array<int, 5> kAddressIds{kIpAddress, kSubnetMask, kGateway, kDns1, kDns2};
enum Field : std::size_t { kIp, kMask, kGatewayField, kDns1Field, kDns2Field };

std::string AddressText(const std::array<std::uint8_t, 4> &bytes) {
  return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
         std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
}

// Reads one address control with `kind`; nothing when it is refused (the
// control has said why).
std::optional<std::string> ReadAddressText(CGdipIpAddrCtl *control, AddressKind kind) {
  std::array<std::uint8_t, 4> bytes{};
  const int count = control->GetAddress(kind, bytes[0], bytes[1], bytes[2], bytes[3]);
  if (count != kAddressFieldCount) {
    return std::nullopt;
  }
  return AddressText(bytes);
}

template <std::size_t N> void PutAddress(CGdipIpAddrCtl *control, const char (&field)[N]) {
  const auto value = ParseDottedQuad(FieldText(field, N));
  if (value) {
    control->SetAddressValue(*value);
  } else {
    control->ClearAddress();
  }
}

} // namespace

CNetworkPage::CNetworkPage() = default;

CNetworkPage::~CNetworkPage() {
  m_change.reset(); // before the host its timers run on
}

void CNetworkPage::LayoutControls() {
  m_host = new QtSequenceHost(
      FrameWindow(),
      [this](int id) {
        if (m_change) {
          m_change->OnTimer(id);
        }
      },
      this);

  m_dhcp = new CGdipButton(ButtonKind::RadioButton, this);
  SetDlgCtrlID(m_dhcp, kDhcp);
  m_dhcp->LoadImages(skin::kRadioOff, skin::kRadioOn, skin::kRadioOn);
  m_dhcp->setText(UiText(u"DHCP"));
  m_dhcp->SetToolTipText(UiText(u"DHCP"));
  m_dhcp->setAccessibleName(m_dhcp->text());
  m_dhcp->setGeometry(lay::kDhcpOption);
  SetGroupStart(m_dhcp, true);
  m_static = new CGdipButton(ButtonKind::RadioButton, this);
  SetDlgCtrlID(m_static, kStatic);
  m_static->LoadImages(skin::kRadioOff, skin::kRadioOn, skin::kRadioOn);
  m_static->setText(UiText(u"Static"));
  m_static->SetToolTipText(UiText(u"Static IP Address"));
  m_static->setAccessibleName(m_static->text());
  m_static->setGeometry(lay::kStaticOption);
  connect(m_dhcp, &QAbstractButton::clicked, this, [this] { SetMode(true); });
  connect(m_static, &QAbstractButton::clicked, this, [this] { SetMode(false); });

  for (std::size_t i = 0; i < m_addresses.size(); ++i) {
    const int top = lay::kAddressRowTop + static_cast<int>(i) * lay::kAddressRowPitch;
    const QRect label(lay::kLabelLeft, top, lay::kLabelWidth, lay::kRowHeight);
    m_labels[i] = MakeLabel(this, kAddressLabels[i], kLabelTexts[i], label);
    m_addresses[i] = new CGdipIpAddrCtl(this);
    SetDlgCtrlID(m_addresses[i], kAddressIds[i]);
    // The control's image decides its size; it sits in the row's middle.
    const QSize size = m_addresses[i]->sizeHint();
    m_addresses[i]->setGeometry(
        QRect(QPoint(lay::kFieldLeft, label.center().y() - size.height() / 2), size));
    NameAddressControl(m_addresses[i], UiText(kLabelTexts[i]));
  }
  SetMode(true);
  EnableFields(false);
}

void CNetworkPage::SetMode(bool dhcp) {
  m_dhcpMode = dhcp;
  m_dhcp->SetCheck(dhcp);
  m_static->SetCheck(!dhcp);
  for (std::size_t i = 0; i < m_addresses.size(); ++i) {
    m_labels[i]->setVisible(!dhcp);
    m_addresses[i]->setVisible(!dhcp);
  }
}

void CNetworkPage::EnableFields(bool enabled) {
  m_dhcp->setEnabled(enabled);
  m_static->setEnabled(enabled);
  for (CGdipIpAddrCtl *address : m_addresses) {
    address->setEnabled(enabled);
  }
}

void CNetworkPage::ShowBoxValues(const WizardInfo &info) {
  if (info.dhcp == 1) {
    SetMode(true);
  } else if (info.dhcp == 0) {
    SetMode(false);
  }
  m_boxValues = info;
  PutAddress(m_addresses[kIp], info.ip);
  PutAddress(m_addresses[kMask], info.netmask);
  PutAddress(m_addresses[kGatewayField], info.gateway);
  PutAddress(m_addresses[kDns1Field], info.dns1);
  PutAddress(m_addresses[kDns2Field], info.dns2);
}

std::optional<NetworkEntry> CNetworkPage::ReadEntry() {
  NetworkEntry entry;
  entry.dhcp = m_dhcpMode;
  if (m_dhcpMode) {
    // The fields are hidden: nobody is asked about them. What is complete
    // goes as it is, anything else as the box told it when the page was
    // shown; the box's server gives the gateway, so none is sent.
    const auto hidden = [this](Field field, const char *boxValue, std::size_t size,
                               HiddenBlank blank) {
      return HiddenAddressText(m_addresses[field]->FieldTexts(), FieldText(boxValue, size), blank);
    };
    entry.ip = hidden(kIp, m_boxValues.ip, sizeof m_boxValues.ip, HiddenBlank::BoxValue);
    entry.netmask =
        hidden(kMask, m_boxValues.netmask, sizeof m_boxValues.netmask, HiddenBlank::BoxValue);
    entry.dns1 = hidden(kDns1Field, m_boxValues.dns1, sizeof m_boxValues.dns1, HiddenBlank::Empty);
    entry.dns2 = hidden(kDns2Field, m_boxValues.dns2, sizeof m_boxValues.dns2, HiddenBlank::Empty);
    return entry;
  }
  const auto ip = ReadAddressText(m_addresses[kIp], AddressKind::IpAddress);
  if (!ip) {
    return std::nullopt;
  }
  entry.ip = *ip;
  const auto mask = ReadAddressText(m_addresses[kMask], AddressKind::SubnetMask);
  if (!mask) {
    return std::nullopt;
  }
  entry.netmask = *mask;
  if (!m_addresses[kGatewayField]->IsBlank()) {
    const auto gateway = ReadAddressText(m_addresses[kGatewayField], AddressKind::Gateway);
    if (!gateway) {
      return std::nullopt;
    }
    entry.gateway = *gateway;
  }
  for (auto [field, text] :
       {std::pair{kDns1Field, &entry.dns1}, std::pair{kDns2Field, &entry.dns2}}) {
    if (m_addresses[field]->IsBlank()) {
      continue;
    }
    const auto dns = ReadAddressText(m_addresses[field], AddressKind::DnsServer);
    if (!dns) {
      return std::nullopt;
    }
    *text = *dns;
  }
  return entry;
}

bool CNetworkPage::Apply() {
  if (!ValuesLoaded(true)) {
    return false;
  }
  const std::optional<NetworkEntry> entry = ReadEntry();
  if (!entry) {
    return false;
  }
  if (!entry->dhcp) {
    if (const auto problem = CheckStaticAddressUse(entry->ip, entry->netmask, entry->gateway)) {
      ShowMessageBox(Handle(), Translate(*problem), Translate(kErrorCaption), MessageBoxButtons::Ok,
                     MessageBoxIcon::Warning);
      return false;
    }
  }
  if (NetworkGatewayNeedsQuestion(*entry) &&
      ShowMessageBox(Handle(), Translate(kGatewayQuestion), Translate(kWarningCaption),
                     MessageBoxButtons::YesNo, MessageBoxIcon::Warning) != MessageBoxResult::Yes) {
    return false;
  }
  const std::optional<NetSettings> settings = MakeNetSettings(*entry);
  if (!settings) {
    ShowMessageBox(Handle(), Translate(kSettingFailedText), Translate(kWizardCaption));
    return false;
  }
  if (m_change && m_change->Running()) {
    return false; // one change at a time
  }
  m_change = std::make_unique<NetworkChange>(*m_host, static_cast<NetworkChangeObserver &>(*this),
                                             BoxIndex(), *settings);
  m_endedAtStart.reset();
  m_starting = true;
  m_change->Start();
  m_starting = false;
  if (m_endedAtStart) {
    ShowMessageBox(Handle(), Translate(m_endedAtStart->message), Translate(kWizardCaption));
    return false;
  }
  RequestStarted(0, CommandIndex::SetNetwork);
  return true;
}

bool CNetworkPage::OnFrameMessage(const Message &message) {
  return m_change != nullptr && m_change->OnMessage(message);
}

void CNetworkPage::OnPageDestroy() {
  // The run is over: no further poll, pause or login.
  for (int id : {NetworkChange::kSettingsTimer, NetworkChange::kPollTimer,
                 NetworkChange::kLoginTimer, NetworkChange::kAnswerTimer}) {
    m_host->StopTimer(id);
  }
}

void CNetworkPage::OnStage(NetworkChangeStage stage) {
  m_lastStage = stage;
}

void CNetworkPage::OnNotice(std::u16string_view text) {
  ShowMessageBox(Handle(), Translate(text), Translate(kWizardCaption));
}

void CNetworkPage::OnEnd(const NetworkChangeOutcome &outcome) {
  if (m_starting) {
    m_endedAtStart = outcome;
    return;
  }
  CWizardDialogBase *frame = Frame();
  if (frame == nullptr) {
    return;
  }
  switch (outcome.end) {
  case NetworkChangeEnd::LoggedIn:
    frame->PageRequestEnded(this, PageOutcome::Advance, {});
    break;
  case NetworkChangeEnd::LoginRefused:
    frame->PageRequestEnded(this, PageOutcome::KeepHidden, outcome.message);
    break;
  case NetworkChangeEnd::LeftSubnet: {
    const WindowHandle owner = frame->Owner();
    frame->PageRequestEnded(this, PageOutcome::Ended, {});
    ShowMessageBox(Handle(),
                   FromQString(UiText(kBoxLeftSubnetText, QString::fromStdString(outcome.address))),
                   Translate(kWizardCaption), MessageBoxButtons::Ok, MessageBoxIcon::Warning);
    PostMessage(owner, WM_NAS_LEFT_SUBNET, 0, 0);
    break;
  }
  default: // the settings refused, or no new address told
    frame->PageRequestEnded(this, PageOutcome::RestoreNoSkip, outcome.message);
    break;
  }
}

} // namespace corvesta
