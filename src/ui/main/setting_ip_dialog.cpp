#include "ui/main/setting_ip_dialog.h"

#include <cstdio>

#include "app/program_info.h"
#include "i18n/own_texts.h"
#include "i18n/translate.h"
#include "nas/device_list.h"
#include "nas/udp/subnet.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "setup/address_change_plan.h"
#include "ui/main/address_names.h"
#include "ui/main/main_ids.h"
#include "ui/main/main_layout.h"
#include "ui/main/ui_text.h"
#include "ui/platform/qt_sequence_host.h"
#include "ui/skin/control_id.h"
#include "ui/skin/dialog_group.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_icon_static.h"
#include "ui/skin/gdip_ip_addr_ctl.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/trans_static.h"

namespace corvesta {

namespace {

using namespace main_ids;

constexpr int kLabelHeight = 14;
constexpr int kRadioTextHeight = 16;

struct AddressRow {
  int field;
  int label;
  std::u16string_view text;
};
constexpr AddressRow kRows[] = {{kSetIpAddress, kSetIpAddressLabel, u"IP ADDress"},
                                {kSetIpMask, kSetIpMaskLabel, u"Subnet Mask"},
                                {kSetIpGateway, kSetIpGatewayLabel, u"Gateway IP"}};

std::string DottedQuad(const AddressBytes &bytes) {
  char text[16];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
  return text;
}

// Reads the control for its kind; nothing when it refused (and said why).
std::optional<std::string> ReadField(CGdipIpAddrCtl *control, AddressKind kind) {
  AddressBytes bytes{};
  if (control->GetAddress(kind, bytes[0], bytes[1], bytes[2], bytes[3]) != kAddressFieldCount) {
    return std::nullopt;
  }
  return DottedQuad(bytes);
}

void ShowBoxText(CGdipIpAddrCtl *control, const char *field, std::size_t size) {
  const std::optional<std::uint32_t> value = ParseDottedQuad(FieldText(field, size));
  if (value) {
    control->SetAddressValue(*value);
  } else {
    control->ClearAddress();
  }
}

CGdipButton *MakeButton(QWidget *parent, int id, ButtonKind kind, QRect where, int normal,
                        int hover, int pressed) {
  auto *button = new CGdipButton(kind, parent);
  SetDlgCtrlID(button, id);
  button->LoadImages(normal, hover, pressed);
  button->setGeometry(where);
  return button;
}

} // namespace

CSettingIpDialog::CSettingIpDialog(std::int32_t deviceIndex, QWidget *parent)
    : CGdipDialog(parent), m_deviceIndex(deviceIndex) {
  setWindowTitle(UiText(kSetIpTitleText));
  setFixedSize(layout::kSetIpSize);
  SetBackgroundImage(skin::kLoginBackground);
  SetWindowOutline(RoundedOutline(size(), layout::kMainCornerRadius));
  m_host = new QtSequenceHost(
      Handle(),
      [this](int id) {
        if (m_change) {
          m_change->OnTimer(id);
        }
      },
      this);
  m_change =
      std::make_unique<AddressChangeSequence>(*m_host, static_cast<AddressChangeObserver &>(*this));
  BuildControls();
  FillFromBox();
}

CSettingIpDialog::~CSettingIpDialog() {
  m_change.reset(); // before the host it reports through
}

void CSettingIpDialog::BuildControls() {
  auto *title = new CTransStatic(this);
  SetDlgCtrlID(title, kSetIpTitle);
  title->setGeometry(layout::kSetIpTitle);
  title->SetTextHeight(skin::kTitleStripTextHeight);
  title->SetTextWeight(skin::kWeightBold);
  title->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
  title->SetText(windowTitle());
  title->setAccessibleName(title->Text());

  auto *picture = new CGdipIconStatic(this);
  picture->SetImage(skin::kSetIpPicture);
  picture->setGeometry(layout::kSetIpPicture);

  m_dhcp = MakeButton(this, kSetIpDhcp, ButtonKind::RadioButton, layout::kSetIpDhcp,
                      skin::kRadioOff, skin::kRadioOn, skin::kRadioOn);
  m_static = MakeButton(this, kSetIpStatic, ButtonKind::RadioButton, layout::kSetIpStatic,
                        skin::kRadioOff, skin::kRadioOn, skin::kRadioOn);
  SetGroupStart(m_dhcp, true);
  for (auto [radio, text] : {std::pair{m_dhcp, u"DHCP"}, std::pair{m_static, u"Static"}}) {
    radio->setFont(skin::SkinFont(kRadioTextHeight, skin::kWeightRegular));
    radio->setText(UiText(text));
    radio->setAccessibleName(radio->text());
  }
  connect(m_dhcp, &QAbstractButton::clicked, this, [this] { ChooseDhcp(true); });
  connect(m_static, &QAbstractButton::clicked, this, [this] { ChooseDhcp(false); });

  QRect label = layout::kSetIpFirstLabel;
  QRect field = layout::kSetIpFirstField;
  QWidget *previous = m_static;
  bool firstRow = true;
  const auto makeRow = [&](const AddressRow &row) {
    auto *text = new CTransStatic(this);
    SetDlgCtrlID(text, row.label);
    text->setGeometry(label);
    text->SetTextHeight(kLabelHeight);
    text->SetTextWeight(skin::kWeightRegular);
    text->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
    text->SetText(UiText(row.text));
    auto *control = new CGdipIpAddrCtl(this);
    SetDlgCtrlID(control, row.field);
    control->setGeometry(field);
    NameAddressControl(control, text->Text());
    if (firstRow) {
      SetGroupStart(text, true); // the radios' group ends here
      firstRow = false;
    }
    label.translate(0, layout::kSetIpRowPitch);
    field.translate(0, layout::kSetIpRowPitch);
    return control;
  };
  m_address = makeRow(kRows[0]);
  m_mask = makeRow(kRows[1]);
  m_gateway = makeRow(kRows[2]);
  for (CGdipIpAddrCtl *control : {m_address, m_mask, m_gateway}) {
    setTabOrder(previous, control);
    previous = control;
  }

  auto *ok = MakeButton(this, kSetIpOk, ButtonKind::PushButton, layout::kSetIpOk,
                        skin::kTextButtonNormal, skin::kTextButtonActive, skin::kTextButtonActive);
  auto *cancel =
      MakeButton(this, kSetIpCancel, ButtonKind::PushButton, layout::kSetIpCancel,
                 skin::kTextButtonNormal, skin::kTextButtonActive, skin::kTextButtonActive);
  ok->setText(UiText(u"OK"));
  cancel->setText(UiText(u"Cancel"));
  for (CGdipButton *button : {ok, cancel}) {
    button->setAccessibleName(button->text());
  }
  SetGroupStart(ok, true);
  connect(ok, &QAbstractButton::clicked, this, &CSettingIpDialog::OnOk);
  connect(cancel, &QAbstractButton::clicked, this, &CSettingIpDialog::reject);
  SetDefaultButton(ok);
  setTabOrder(m_dhcp, m_static);
  setTabOrder(previous, ok);
  setTabOrder(ok, cancel);
}

void CSettingIpDialog::FillFromBox() {
  if (const std::optional<NasDevice> device = DeviceList::Instance().At(m_deviceIndex)) {
    m_device = *device;
    m_deviceKnown = true;
  }
  const bool dhcp = m_deviceKnown && BoxUsesDhcp(m_device);
  m_dhcp->SetCheck(dhcp);
  m_static->SetCheck(!dhcp);
  ChooseDhcp(dhcp);
  ShowBoxText(m_address, m_device.ip, sizeof m_device.ip);
  ShowBoxText(m_mask, m_device.netmask, sizeof m_device.netmask);
  if (FieldText(m_device.gateway, sizeof m_device.gateway).empty()) {
    m_gateway->ClearAddress();
  } else {
    ShowBoxText(m_gateway, m_device.gateway, sizeof m_device.gateway);
  }
  (dhcp ? m_dhcp : m_static)->setFocus();
}

void CSettingIpDialog::ChooseDhcp(bool dhcp) {
  // The choice follows the last radio pressed; the other radio learns that
  // it is off a moment later.
  m_dhcpChosen = dhcp;
  ShowAddressFields(!dhcp);
}

void CSettingIpDialog::ShowAddressFields(bool shown) {
  for (const AddressRow &row : kRows) {
    GetDlgItem(row.field)->setVisible(shown);
    GetDlgItem(row.label)->setVisible(shown);
  }
}

void CSettingIpDialog::SetControlsOn(bool on) {
  for (int id : {kSetIpOk, kSetIpCancel, kSetIpDhcp, kSetIpStatic}) {
    GetDlgItem(id)->setEnabled(on);
  }
}

bool CSettingIpDialog::Waiting() const {
  return m_change && m_change->Running();
}

const AddressChangeOutcome &CSettingIpDialog::Outcome() const {
  return m_change->Outcome();
}

bool CSettingIpDialog::ReadStaticChoice(AddressChoice &choice) {
  const std::optional<std::string> ip = ReadField(m_address, AddressKind::IpAddress);
  if (!ip) {
    return false;
  }
  if (IsLoopbackAddress(*ip)) {
    ShowMessageBox(Handle(), Translate(kAddressInputErrorText), Translate(kWarningCaption),
                   MessageBoxButtons::Ok, MessageBoxIcon::Warning);
    return false;
  }
  const std::optional<std::string> mask = ReadField(m_mask, AddressKind::SubnetMask);
  if (!mask) {
    return false;
  }
  choice.ip = *ip;
  choice.mask = *mask;
  if (!m_gateway->IsBlank()) {
    const std::optional<std::string> gateway = ReadField(m_gateway, AddressKind::Gateway);
    if (!gateway) {
      return false;
    }
    choice.gateway = *gateway;
  }
  return true;
}

void CSettingIpDialog::OnOk() {
  SetControlsOn(false);
  AddressChoice choice;
  choice.dhcp = m_dhcpChosen;
  // With DHCP the address fields are hidden: the box's own values travel
  // with the request unchecked, and nobody is asked about fields they
  // cannot see.
  if (!choice.dhcp && !ReadStaticChoice(choice)) {
    SetControlsOn(true);
    return;
  }
  if (!m_deviceKnown) {
    ShowMessageBox(Handle(), Translate(kRefreshFailedText), std::u16string(kProgramTitle));
    SetControlsOn(true);
    return;
  }
  const AddressPlan plan = PlanAddressChange(m_device, choice);
  switch (plan.result) {
  case AddressPlanResult::NothingToSend:
    accept();
    return;
  case AddressPlanResult::Refused:
    ShowMessageBox(Handle(), Translate(plan.message), Translate(plan.caption),
                   MessageBoxButtons::Ok, MessageBoxIcon::Warning);
    SetControlsOn(true);
    return;
  case AddressPlanResult::Send:
    break;
  }
  if (!plan.gatewayQuestion.empty() &&
      ShowMessageBox(Handle(), Translate(plan.gatewayQuestion), Translate(kWarningCaption),
                     MessageBoxButtons::YesNo, MessageBoxIcon::Warning) != MessageBoxResult::Yes) {
    SetControlsOn(true);
    return;
  }
  // A start that fails reports through OnAddressChangeFinished. The main
  // window searches for the boxes once the dialog has ended.
  m_change->Start(m_deviceIndex, plan.block, AfterAcknowledgement::End);
}

void CSettingIpDialog::OnAddressChangeFinished(const AddressChangeOutcome &outcome) {
  SetControlsOn(true);
  switch (outcome.result) {
  case AddressChangeResult::Acknowledged:
    accept(); // the box took its new settings; the main window searches again
    return;
  default:
    if (!outcome.message.empty()) {
      ShowMessageBox(Handle(), Translate(outcome.message), std::u16string(kProgramTitle));
    }
    return;
  }
}

LRESULT CSettingIpDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_change && m_change->OnMessage(Message{Handle(), message, wParam, lParam})) {
    return 0;
  }
  return CGdipDialog::WindowProc(message, wParam, lParam);
}

void CSettingIpDialog::reject() {
  // Escape, the window's close and WM_CLOSE all come here: while the change
  // runs they do nothing, like the Cancel button that is off.
  if (Waiting()) {
    return;
  }
  CGdipDialog::reject();
}

} // namespace corvesta
