#include "ui/main/login_dialog.h"

#include <QLineEdit>
#include <QValidator>

#include "app/program_info.h"
#include "i18n/own_texts.h"
#include "i18n/translate.h"
#include "platform/message_box.h"
#include "ui/main/main_ids.h"
#include "ui/main/main_layout.h"
#include "ui/main/ui_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_icon_static.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/trans_static.h"

namespace corvesta {

namespace {

constexpr char16_t kDefaultUser[] = u"admin";
constexpr int kLabelHeight = 18;
constexpr int kNoteHeight = 13;
constexpr int kFieldHeight = 18;

// Refuses an edit that would take the text beyond the field's bytes.
class FieldBytesValidator : public QValidator {
public:
  using QValidator::QValidator;
  State validate(QString &input, int &) const override {
    return CLoginDialog::FitsField(input) ? Acceptable : Invalid;
  }
};

CTransStatic *MakeLabel(QWidget *parent, int id, QRect where, int height, int weight, int format) {
  auto *label = new CTransStatic(parent);
  SetDlgCtrlID(label, id);
  label->setGeometry(where);
  label->SetTextHeight(height);
  label->SetTextWeight(weight);
  label->SetFormat(format);
  return label;
}

QLineEdit *MakeField(QWidget *parent, int id, QRect frame, bool password) {
  auto *picture = new CGdipIconStatic(parent);
  picture->SetImage(skin::kEditField);
  picture->setGeometry(frame);
  auto *edit = new QLineEdit(parent);
  SetDlgCtrlID(edit, id);
  edit->setFrame(false);
  edit->setGeometry(frame.marginsRemoved(layout::kFieldText));
  edit->setFont(skin::SkinFont(kFieldHeight, skin::kWeightRegular));
  edit->setStyleSheet(QStringLiteral("background: transparent; color: #323232;"));
  edit->setValidator(new FieldBytesValidator(edit));
  if (password) {
    edit->setEchoMode(QLineEdit::Password);
  }
  return edit;
}

} // namespace

bool CLoginDialog::FitsField(const QString &text) {
  return text.toUtf8().size() <= kMaxFieldBytes;
}

CLoginDialog::CLoginDialog(QWidget *parent) : CGdipDialog(parent) {
  setWindowTitle(UiText(kLoginTitleText));
  setFixedSize(layout::kLoginSize);
  SetBackgroundImage(skin::kLoginBackground);
  SetWindowOutline(RoundedOutline(size(), layout::kMainCornerRadius));

  MakeLabel(this, main_ids::kLoginTitle, layout::kLoginTitle, skin::kTitleStripTextHeight,
            skin::kWeightBold, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine)
      ->SetText(windowTitle());
  auto *close = new CGdipButton(ButtonKind::PushButton, this);
  SetDlgCtrlID(close, main_ids::kLoginClose);
  close->LoadImages(skin::kCloseNormal, skin::kCloseHover, skin::kClosePressed);
  close->setGeometry(layout::kLoginClose);
  close->SetToolTipText(UiText(u"Close"));
  close->setAccessibleName(UiText(u"Close"));
  connect(close, &QAbstractButton::clicked, this, &QDialog::reject);

  auto *logo = new CGdipIconStatic(this);
  SetDlgCtrlID(logo, main_ids::kLoginLogo);
  logo->SetImage(skin::kLoginLogo);
  logo->setGeometry(layout::kLoginLogo);

  const int labelFormat = Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine;
  auto *userLabel = MakeLabel(this, main_ids::kLoginUserLabel, layout::kLoginUserLabel,
                              kLabelHeight, skin::kWeightRegular, labelFormat);
  userLabel->SetText(UiText(u"User Name"));
  auto *passwordLabel = MakeLabel(this, main_ids::kLoginPasswordLabel, layout::kLoginPasswordLabel,
                                  kLabelHeight, skin::kWeightRegular, labelFormat);
  passwordLabel->SetText(UiText(u"Password"));
  MakeLabel(this, main_ids::kLoginNote, layout::kLoginNote, kNoteHeight, skin::kWeightRegular,
            Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap);

  m_userField = MakeField(this, main_ids::kLoginUser, layout::kLoginUserField, false);
  m_userField->setAccessibleName(userLabel->Text());
  m_passwordField = MakeField(this, main_ids::kLoginPassword, layout::kLoginPasswordField, true);
  m_passwordField->setAccessibleName(passwordLabel->Text());

  m_rememberBox = new CGdipButton(ButtonKind::CheckBox, this);
  SetDlgCtrlID(m_rememberBox, main_ids::kLoginRemember);
  m_rememberBox->LoadImages(skin::kCheckBox, skin::kCheckMark, skin::kCheckMark);
  m_rememberBox->setGeometry(layout::kLoginRemember);
  m_rememberBox->setText(UiText(u"Remember Me"));
  m_rememberBox->setAccessibleName(m_rememberBox->text());

  auto *ok = MakeTextButton(this, main_ids::kLoginOk, layout::kLoginOk, UiText(u"OK"));
  auto *cancel =
      MakeTextButton(this, main_ids::kLoginCancel, layout::kLoginCancel, UiText(u"Cancel"));
  connect(ok, &QAbstractButton::clicked, this, &CLoginDialog::OnOk);
  connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
  SetDefaultButton(ok);

  setTabOrder(m_userField, m_passwordField);
  setTabOrder(m_passwordField, m_rememberBox);
  setTabOrder(m_rememberBox, ok);
  setTabOrder(ok, cancel);
  setTabOrder(cancel, close);
  m_userField->setFocus();
}

void CLoginDialog::Prepare(const QString &userName, const QString &password) {
  const bool remembered = !userName.isEmpty();
  m_userName = remembered ? userName : QString::fromUtf16(kDefaultUser);
  m_password = remembered ? password : QString();
  m_remember = remembered;
  m_userField->setText(FitsField(m_userName) ? m_userName : QString());
  m_passwordField->setText(FitsField(m_password) ? m_password : QString());
  m_rememberBox->SetCheck(m_remember);
  // The cursor waits where typing is most likely needed.
  (m_passwordField->text().isEmpty() ? m_passwordField : m_userField)->setFocus();
}

void CLoginDialog::OnOk() {
  const QString user = m_userField->text();
  if (user.isEmpty()) {
    ShowMessageBox(Handle(), Translate(u"User name couldn't be empty."),
                   std::u16string(kProgramTitle));
    m_userField->setFocus();
    return;
  }
  m_userName = user;
  m_password = m_passwordField->text();
  m_remember = m_rememberBox->GetCheck();
  accept();
}

} // namespace corvesta
