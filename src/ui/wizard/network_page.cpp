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

// Reads one address control with `kind`; the text, empty for a control that
// is not complete when `mustBeValid` is false, nothing when it is refused.
std::optional<std::string> ReadAddressText(CGdipIpAddrCtl *control, AddressKind kind,
                                           bool mustBeValid) {
  std::array<std::uint8_t, 4> bytes{};
  const int count = control->GetAddress(kind, bytes[0], bytes[1], bytes[2], bytes[3]);
  if (count != kAddressFieldCount) {
    if (mustBeValid) {
      return std::nullopt;
    }
    return std::string();
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
  PutAddress(m_addresses[kIp], info.ip);
  PutAddress(m_addresses[kMask], info.netmask);
  PutAddress(m_addresses[kGatewayField], info.gateway);
  PutAddress(m_addresses[kDns1Field], info.dns1);
  PutAddress(m_addresses[kDns2Field], info.dns2);
}

std::optional<NetworkEntry> CNetworkPage::ReadEntry() {
  NetworkEntry entry;
  entry.dhcp = m_dhcpMode;
  // With DHCP the box's address and mask, hidden, go back as they were read.
  const auto ip =
      m_dhcpMode && m_addresses[kIp]->IsBlank()
          ? std::optional<std::string>(std::string())
          : ReadAddressText(m_addresses[kIp],
                            m_dhcpMode ? AddressKind::None : AddressKind::IpAddress, !m_dhcpMode);
  if (!ip) {
    return std::nullopt;
  }
  entry.ip = *ip;
  const auto mask =
      m_dhcpMode && m_addresses[kMask]->IsBlank()
          ? std::optional<std::string>(std::string())
          : ReadAddressText(m_addresses[kMask],
                            m_dhcpMode ? AddressKind::None : AddressKind::SubnetMask, !m_dhcpMode);
  if (!mask) {
    return std::nullopt;
  }
  entry.netmask = *mask;
  if (!m_dhcpMode && !m_addresses[kGatewayField]->IsBlank()) {
    const auto gateway = ReadAddressText(m_addresses[kGatewayField], AddressKind::Gateway, true);
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
    // A DNS field that is not complete is refused in either mode: half an
    // address is never sent.
    const auto dns = ReadAddressText(m_addresses[field],
                                     m_dhcpMode ? AddressKind::None : AddressKind::DnsServer, true);
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
      ShowMessageBox(Handle(), std::u16string(kGatewayQuestion), std::u16string(kWarningCaption),
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
