#include "ui/wizard/wizard_dialog.h"

#include <vector>

#include "i18n/translate.h"
#include "ui/main/ui_text.h"
#include "ui/qt_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_icon_static.h"
#include "ui/skin/process_button.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/trans_static.h"
#include "ui/wizard/wizard_ids.h"
#include "ui/wizard/wizard_layout.h"
#include "ui/wizard/wizard_page.h"

namespace corvesta {

using namespace wizard_ids;
namespace lay = wizard_layout;

namespace {

constexpr int kHeadingHeight = 22;
constexpr int kTitleHeight = 20;
constexpr int kHintHeight = 13;
const QColor kHintColor(170, 170, 170);

struct Navigation {
  int id;
  std::u16string_view text;
};
// Left to right.
constexpr Navigation kNavigation[] = {
    {kSkip, u"Skip"},     {kPrevious, u"Previous"}, {kNext, u"Next"},
    {kFinish, u"Finish"}, {kExit, u"Exit"},
};

// The step of a page: its name against the translated keys.
int StepOf(const CWizardPage *page) {
  for (std::size_t i = 0; i < kSteps.size(); ++i) {
    if (page != nullptr && page->Name() == ToQString(Translate(kSteps[i].key))) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

} // namespace

CWizardDialog::CWizardDialog(QWidget *parent, WindowHandle owner, bool administrator)
    : CWizardDialogBase(parent, owner) {
  setWindowTitle(UiText(u"Wizard"));
  setFixedSize(lay::kFrameSize);
  SetBackgroundImage(skin::kWizardBackground);
  BuildControls();
  for (const Step &step : kSteps) {
    const bool everyone = step.key == u"Password" || step.key == u"DriveMapping";
    GetDlgItem(step.button)->setEnabled(administrator || everyone);
  }
  SetWindowOutline(RoundedOutline(size(), lay::kCornerRadius));
}

void CWizardDialog::BuildControls() {
  auto *icon = new CGdipIconStatic(this);
  SetDlgCtrlID(icon, kIcon);
  icon->SetImage(skin::kWizardIcon);
  icon->setGeometry(lay::kIcon);

  auto *heading = new CTransStatic(UiText(u"Wizard"), this);
  SetDlgCtrlID(heading, kHeading);
  heading->setGeometry(lay::kHeading);
  heading->SetTextHeight(kHeadingHeight);
  heading->SetTextWeight(skin::kWeightBold);
  heading->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);

  auto *close = new CGdipButton(ButtonKind::PushButton, this);
  SetDlgCtrlID(close, kClose);
  close->LoadImages(skin::kCloseNormal, skin::kCloseHover, skin::kClosePressed);
  close->setGeometry(lay::kClose);
  close->SetToolTipText(UiText(u"Close"));
  close->setAccessibleName(UiText(u"Close"));
  connect(close, &QAbstractButton::clicked, this, [this] { OnExit(); });

  int x = lay::kStepLeft;
  for (std::size_t i = 0; i < kSteps.size(); ++i) {
    auto *step = new CProcessButton(this);
    SetDlgCtrlID(step, kSteps[i].button);
    step->LoadImages(skin::kStepDone, skin::kStepCurrent, skin::kStepPending);
    step->setText(UiText(kSteps[i].caption));
    step->setAccessibleName(step->text());
    const bool last = i + 1 == kSteps.size();
    step->setGeometry(x, lay::kStepTop, last ? lay::kLastStepWidth : lay::kStepSize.width(),
                      lay::kStepSize.height());
    step->SetNarrow(last);
    step->SetState(StepState::Pending);
    connect(step, &QAbstractButton::clicked, this, [this, id = kSteps[i].button] { OnStep(id); });
    x += lay::kStepPitch;
  }

  auto *panel = new CGdipIconStatic(this);
  panel->SetImage(skin::kWizardPagePanel);
  panel->setGeometry(lay::kPagePanel);
  panel->lower();
  // The template's frame of the page area: never shown.
  auto *area = new QWidget(this);
  SetDlgCtrlID(area, kPageArea);
  area->setGeometry(lay::kPageArea);
  area->hide();

  m_title = new CTransStatic(this);
  SetDlgCtrlID(m_title, kPageTitle);
  m_title->setGeometry(lay::kPageTitle);
  m_title->SetTextHeight(kTitleHeight);
  m_title->SetTextWeight(skin::kWeightBold);
  m_title->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
  m_hint = new CTransStatic(this);
  SetDlgCtrlID(m_hint, kHint);
  m_hint->setGeometry(lay::kHint);
  m_hint->SetTextHeight(kHintHeight);
  m_hint->SetTextColor(kHintColor);
  m_hint->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);

  x = lay::kNavigationLeft;
  for (const Navigation &n : kNavigation) {
    auto *button = new CGdipButton(ButtonKind::PushButton, this);
    SetDlgCtrlID(button, n.id);
    button->LoadImages(skin::kWizardButtonNormal, skin::kWizardButtonHover,
                       skin::kWizardButtonPressed);
    button->setGeometry(QRect(QPoint(x, lay::kNavigationTop), lay::kNavigationSize));
    button->setText(UiText(n.text));
    button->setAccessibleName(button->text());
    x += lay::kNavigationPitch;
  }
  connect(GetDlgItemAs<QAbstractButton>(kSkip), &QAbstractButton::clicked, this,
          [this] { OnSkip(); });
  connect(GetDlgItemAs<QAbstractButton>(kPrevious), &QAbstractButton::clicked, this,
          [this] { OnPrevious(); });
  connect(GetDlgItemAs<QAbstractButton>(kNext), &QAbstractButton::clicked, this,
          [this] { OnNext(); });
  connect(GetDlgItemAs<QAbstractButton>(kFinish), &QAbstractButton::clicked, this,
          [this] { OnFinish(); });
  connect(GetDlgItemAs<QAbstractButton>(kExit), &QAbstractButton::clicked, this,
          [this] { OnExit(); });
}

bool CWizardDialog::SetActivePage(CWizardPage *page) {
  if (!CWizardDialogBase::SetActivePage(page)) {
    return false;
  }
  m_title->SetText(page->Name());
  m_title->setAccessibleName(page->Name());
  m_hint->SetText(page->Hint());
  m_hint->setAccessibleName(page->Hint());
  SetStepStates(page);
  // Tab runs through the page's fields first, then the buttons, then the
  // title strip's Close and the step bar; the page's first usable field
  // has the focus when the page opens.
  QWidget *previous = nullptr;
  QWidget *first = nullptr;
  for (QWidget *field : page->findChildren<QWidget *>()) {
    if (field->focusPolicy() & Qt::TabFocus) {
      if (previous != nullptr) {
        setTabOrder(previous, field);
      }
      previous = field;
      if (first == nullptr && field->isEnabled() && field->isVisibleTo(page)) {
        first = field;
      }
    }
  }
  std::vector<int> tail{kSkip, kPrevious, kNext, kFinish, kExit, kClose};
  for (const auto &step : kSteps) {
    tail.push_back(step.button);
  }
  for (int id : tail) {
    if (previous != nullptr) {
      setTabOrder(previous, GetDlgItem(id));
    }
    previous = GetDlgItem(id);
  }
  if (first != nullptr) {
    first->setFocus(Qt::TabFocusReason); // drawn as keyboard focus
  } else if (QWidget *button = DefaultButton(); button != nullptr) {
    button->setFocus(Qt::TabFocusReason);
  }
  return true;
}

void CWizardDialog::LayoutNavigation() {
  int x = lay::kNavigationLeft;
  for (int id : {kSkip, kPrevious, kNext, kFinish}) {
    QWidget *button = GetDlgItem(id);
    if (button != nullptr && !button->isHidden()) {
      button->move(x, lay::kNavigationTop);
      x += lay::kNavigationPitch;
    }
  }
  if (QWidget *exit = GetDlgItem(kExit)) {
    exit->move(lay::kExitLeft, lay::kNavigationTop);
  }
}

void CWizardDialog::SetStepStates(const CWizardPage *page) {
  const int active = StepOf(page);
  for (std::size_t i = 0; i < kSteps.size(); ++i) {
    auto *step = GetDlgItemAs<CProcessButton>(kSteps[i].button);
    const int index = static_cast<int>(i);
    if (active < 0 || index < active) {
      step->SetState(StepState::Done);
    } else {
      step->SetState(index == active ? StepState::Current : StepState::Pending);
    }
  }
}

} // namespace corvesta
