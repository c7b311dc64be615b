#include "ui/wizard/process_dialog.h"

#include <QApplication>

#include "ui/main/ui_text.h"
#include "ui/platform/qt_sequence_host.h"
#include "ui/qt_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_icon_static.h"
#include "ui/skin/gdip_process_ctrl.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/trans_static.h"
#include "ui/wizard/disk_ids.h"

namespace corvesta {

using namespace disk_ids;
namespace lay = disk_layout;

namespace {

constexpr int kTextHeight = 17;
constexpr int kPercentHeight = 18;

} // namespace

CProcessDialog::CProcessDialog(QWidget *parent, std::int32_t boxIndex, const VolumeSpec &volumes,
                               FormatRequests requests)
    : CGdipDialog(parent) {
  setWindowTitle(UiText(kFormatRunningTitle));
  setFixedSize(lay::kDialogSize);
  SetBackgroundImage(skin::kWizardBackground);
  BuildControls();
  SetWindowOutline(RoundedOutline(size(), lay::kCornerRadius));
  m_host = new QtSequenceHost(
      Handle(),
      [this](int id) {
        if (m_chain) {
          m_chain->OnTimer(id);
        }
      },
      this);
  m_chain = std::make_unique<FormatChain>(*m_host, static_cast<FormatChainObserver &>(*this),
                                          boxIndex, volumes, std::move(requests));
}

CProcessDialog::~CProcessDialog() {
  m_chain.reset(); // before the host its timers run on
}

void CProcessDialog::BuildControls() {
  m_title = new CTransStatic(this);
  SetDlgCtrlID(m_title, kTitle);
  m_title->setGeometry(lay::kTitle);
  m_title->SetTextHeight(skin::kTitleStripTextHeight);
  m_title->SetTextWeight(skin::kWeightBold);
  m_title->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
  m_title->SetText(UiText(kFormatRunningTitle));

  m_text = new CTransStatic(this);
  SetDlgCtrlID(m_text, kText);
  m_text->setGeometry(lay::kText);
  m_text->SetTextHeight(kTextHeight);
  m_text->SetFormat(Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
  m_text->SetText(UiText(kFormatRunningText));

  m_icon = new CGdipIconStatic(this);
  SetDlgCtrlID(m_icon, kIcon);
  m_icon->SetImage(skin::kCompleteIcon);
  m_icon->setGeometry(lay::kIcon);
  m_icon->hide();
  m_runningPicture = new CGdipIconStatic(this);
  m_runningPicture->SetImage(skin::kVolumeIcon);
  m_runningPicture->setGeometry(lay::kRunningPicture);

  m_progress = new CGdipProcessCtrl(this);
  SetDlgCtrlID(m_progress, kProgress);
  m_progress->SetBarImages(skin::kFormatBarBackground, skin::kFormatBarLeftEnd,
                           skin::kFormatBarMiddle, skin::kFormatBarRightEnd);
  m_progress->setGeometry(lay::kProgress);
  m_progress->SetRange(0, 100);
  m_progress->SetPos(0);
  m_progress->setAccessibleName(m_title->Text());

  m_percent = new CTransStatic(this);
  SetDlgCtrlID(m_percent, kPercent);
  m_percent->setGeometry(lay::kPercent);
  m_percent->SetTextHeight(kPercentHeight);
  m_percent->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
  m_percent->SetText(QStringLiteral("0%"));

  auto *ok = MakeTextButton(this, kOk, lay::kOk, UiText(u"OK"));
  auto *cancel = MakeTextButton(this, kCancel, lay::kCancel, UiText(u"Cancel"));
  auto *close = new CGdipButton(ButtonKind::PushButton, this);
  SetDlgCtrlID(close, kClose);
  close->LoadImages(skin::kCloseNormal, skin::kCloseHover, skin::kClosePressed);
  close->setGeometry(lay::kClose);
  close->SetToolTipText(UiText(u"Close"));
  close->setAccessibleName(UiText(u"Close"));
  connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
  connect(cancel, &QAbstractButton::clicked, this, &CProcessDialog::reject);
  connect(close, &QAbstractButton::clicked, this, &CProcessDialog::reject);
  EnableButtons(false);
}

void CProcessDialog::EnableButtons(bool enabled) {
  for (int id : {kOk, kCancel, kClose}) {
    GetDlgItem(id)->setEnabled(enabled);
  }
  SetDefaultButton(enabled ? GetDlgItemAs<QAbstractButton>(kOk) : nullptr);
}

bool CProcessDialog::Running() const {
  return m_chain != nullptr && m_chain->Running();
}

void CProcessDialog::Start() {
  if (m_chain != nullptr) {
    m_chain->Start();
  }
}

void CProcessDialog::reject() {
  // Escape, the window's close and Cancel: only once the chain has ended,
  // so the box is never left with its file browser stopped and its disks
  // unmounted while the wizard moves on.
  if (Running()) {
    QApplication::beep();
    return;
  }
  CGdipDialog::reject();
}

LRESULT CProcessDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_chain != nullptr && m_chain->OnMessage(Message{Handle(), message, wParam, lParam})) {
    return 0;
  }
  return CGdipDialog::WindowProc(message, wParam, lParam);
}

void CProcessDialog::OnStage(FormatStage) {}

void CProcessDialog::OnPercent(int percent) {
  if (m_noticeShown) {
    m_text->SetText(UiText(kFormatRunningText)); // the polling works again
    m_noticeShown = false;
  }
  m_progress->SetPos(percent);
  m_percent->SetText(QStringLiteral("%1%").arg(percent));
}

void CProcessDialog::OnNotice(std::u16string_view text) {
  m_text->SetText(UiText(text));
  m_noticeShown = true;
}

void CProcessDialog::OnEnd(const FormatOutcome &outcome) {
  m_outcome = outcome;
  if (!outcome.title.empty()) {
    m_title->SetText(UiText(outcome.title));
    setWindowTitle(m_title->Text()); // what the desktop and a screen reader call it
  }
  m_text->SetText(UiText(outcome.message));
  m_icon->SetImage(outcome.Succeeded() ? skin::kCompleteIcon : skin::kErrorIcon);
  m_icon->show();
  m_runningPicture->hide();
  m_progress->hide();
  m_percent->hide();
  EnableButtons(true);
  // Enter, Space and Tab start from OK, as in a message box.
  GetDlgItem(kOk)->setFocus(Qt::OtherFocusReason);
  Q_EMIT ChainEnded();
}

} // namespace corvesta
