#include "ui/main/settings_dialog.h"

#include "ui/main/idle_logout.h"
#include "ui/main/main_ids.h"
#include "ui/main/main_layout.h"
#include "ui/main/ui_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/dialog_group.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_icon_static.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/trans_static.h"
#include "ui/skin/underline_button.h"

namespace corvesta {

namespace {

using namespace main_ids;

constexpr int kDescriptionHeight = 13;
constexpr int kRadioTextHeight = 16;

constexpr std::u16string_view kDescription =
    u"* Choose a value for the Corvesta Inactivity Timer. If the user is idle for longer than the "
    u"specified time, he will be logged out of the Corvesta.";

struct IdleRadio {
  int id;
  std::uint32_t idleTime;
  std::u16string_view text;
};
// In the order OK reads them; the last ticked one wins.
constexpr IdleRadio kShownRadios[] = {
    {kSettingsFiveMinutes, kIdleFiveMinutes, u" 5 Min"},
    {kSettingsFifteenMinutes, kIdleFifteenMinutes, u"15 Min"},
    {kSettingsThirtyMinutes, kIdleThirtyMinutes, u"30 Min"},
    {kSettingsSixtyMinutes, kIdleSixtyMinutes, u"60 Min"},
    {kSettingsNever, kIdleNever, u"Never Logout"},
};
// Part of the template, never shown.
constexpr int kHiddenRadios[] = {kSettingsOneMinute, kSettingsThreeMinutes};

CGdipButton *MakeRadio(QWidget *parent, int id, QRect where) {
  auto *radio = new CGdipButton(ButtonKind::RadioButton, parent);
  SetDlgCtrlID(radio, id);
  radio->LoadImages(skin::kRadioOff, skin::kRadioOn, skin::kRadioOn);
  radio->setGeometry(where);
  radio->setFont(skin::SkinFont(kRadioTextHeight, skin::kWeightRegular));
  return radio;
}

} // namespace

int CSettingsDialog::RadioFor(std::uint32_t idleTime) {
  for (const IdleRadio &radio : kShownRadios) {
    if (radio.idleTime == idleTime) {
      return radio.id;
    }
  }
  return kSettingsNever;
}

CSettingsDialog::CSettingsDialog(QWidget *parent) : CGdipDialog(parent), m_slot(this) {
  setWindowTitle(UiText(u"Settings"));
  setFixedSize(layout::kSettingsSize);
  SetBackgroundImage(skin::kWizardBackground);
  SetWindowOutline(RoundedOutline(size(), layout::kMainCornerRadius));
  BuildControls();
}

void CSettingsDialog::BuildControls() {
  auto *title = new CTransStatic(this);
  SetDlgCtrlID(title, kSettingsTitle);
  title->setGeometry(layout::kSettingsTitle);
  title->SetTextHeight(skin::kTitleStripTextHeight);
  title->SetTextWeight(skin::kWeightBold);
  title->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
  title->SetText(windowTitle());
  title->setAccessibleName(title->Text());

  auto *close = new CGdipButton(ButtonKind::PushButton, this);
  SetDlgCtrlID(close, kSettingsClose);
  close->LoadImages(skin::kCloseNormal, skin::kCloseHover, skin::kClosePressed);
  close->setGeometry(layout::kSettingsClose);
  close->SetToolTipText(UiText(u"Close"));
  close->setAccessibleName(UiText(u"Close"));
  connect(close, &QAbstractButton::clicked, this, &QDialog::reject);

  auto *tab = new CUnderLineButton(this);
  SetDlgCtrlID(tab, kSettingsLogoutTab);
  tab->setText(UiText(u"Logout Time"));
  // A name too long for one line takes another, the tab growing downwards.
  tab->setGeometry(
      QRect(layout::kSettingsTab.topLeft(),
            QSize(layout::kSettingsTab.width(),
                  tab->HeightFor(layout::kSettingsTab.width(), layout::kSettingsTab.height()))));
  tab->setAccessibleName(tab->text());
  // The only page: the tab marks itself current and does nothing else.
  tab->setCheckable(true);
  tab->setChecked(true);
  connect(tab, &QAbstractButton::clicked, tab, [tab] { tab->setChecked(true); });

  auto *picture = new CGdipIconStatic(this);
  SetDlgCtrlID(picture, kSettingsPicture);
  picture->SetImage(skin::kSettingsPicture);
  picture->setGeometry(layout::kSettingsPicture);

  auto *description = new CTransStatic(this);
  SetDlgCtrlID(description, kSettingsDescription);
  description->setGeometry(layout::kSettingsDescription);
  description->SetTextHeight(kDescriptionHeight);
  description->SetTextWeight(skin::kWeightRegular);
  description->SetFormat(Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
  description->SetText(UiText(kDescription));
  description->setAccessibleName(description->Text());

  QRect where = layout::kSettingsFirstRadio;
  CGdipButton *first = nullptr;
  const int ticked = RadioFor(IdleTime());
  QWidget *previous = tab;
  for (const IdleRadio &r : kShownRadios) {
    CGdipButton *radio = MakeRadio(this, r.id, where);
    radio->setText(UiText(r.text));
    radio->setAccessibleName(radio->text());
    radio->SetCheck(r.id == ticked);
    if (first == nullptr) {
      first = radio;
      SetGroupStart(radio, true);
    }
    setTabOrder(previous, radio);
    previous = radio;
    where.translate(0, layout::kSettingsRadioPitch);
  }
  for (int id : kHiddenRadios) {
    MakeRadio(this, id, layout::kSettingsFirstRadio)->hide();
  }

  auto *ok = MakeTextButton(this, kSettingsOk, layout::kSettingsOk, UiText(u"OK"));
  auto *cancel = MakeTextButton(this, kSettingsCancel, layout::kSettingsCancel, UiText(u"Cancel"));
  SetGroupStart(ok, true);
  connect(ok, &QAbstractButton::clicked, this, &CSettingsDialog::OnOk);
  connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
  SetDefaultButton(ok);
  setTabOrder(previous, ok);
  setTabOrder(ok, cancel);
  setTabOrder(cancel, close);
  GetDlgItem(ticked)->setFocus();
}

void CSettingsDialog::OnOk() {
  for (const IdleRadio &r : kShownRadios) {
    if (GetDlgItemAs<CGdipButton>(r.id)->GetCheck()) {
      SetIdleTime(r.idleTime);
    }
  }
  accept();
}

} // namespace corvesta
