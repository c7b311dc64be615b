#include "ui/wizard/user_name_page.h"

#include <QLineEdit>

#include "app/remembered_settings.h"
#include "i18n/translate.h"
#include "nas/current_credentials.h"
#include "nas/device_list.h"
#include "nas/http/command_set.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "setup/password_rules.h"
#include "ui/main/ui_text.h"
#include "ui/qt_text.h"
#include "ui/wizard/page_controls.h"
#include "ui/wizard/wizard_ids.h"
#include "ui/wizard/wizard_messages.h"
#include "worker/private_messages.h"

namespace corvesta {

using namespace wizard_ids;

namespace {
constexpr int kPasswordFieldLimit = static_cast<int>(kPasswordMaxLength);
} // namespace

void CUserNamePage::LayoutControls() {
  const struct {
    int label;
    int edit;
    std::u16string_view text;
    QLineEdit **field;
  } rows[] = {{kOldPasswordLabel, kOldPassword, u"Old Password", &m_old},
              {kPasswordLabel, kNewPassword, u"Password", &m_new},
              {kConfirmLabel, kConfirmPassword, u"Confirm Password", &m_confirmation}};
  int row = 0;
  for (const auto &r : rows) {
    MakeLabel(this, r.label, r.text, LabelRect(row));
    *r.field = MakeEdit(this, r.edit, FieldRect(row), UiText(r.text), true);
    (*r.field)->setMaxLength(kPasswordFieldLimit);
    ++row;
  }
}

bool CUserNamePage::Apply() {
  const std::u16string password = FromQString(m_new->text());
  const std::u16string confirmation = FromQString(m_confirmation->text());
  const std::u16string old = FromQString(m_old->text());
  if (auto problem = CheckNewPassword(password, confirmation)) {
    MessageBoxRequest request;
    request.text = *problem;
    request.caption = Translate(kErrorCaption);
    request.buttons = MessageBoxButtons::OkCancel;
    ShowMessageBox(request);
    return false;
  }
  if (BoxIndex() == -1) {
    return false;
  }
  const Ticket ticket = StartChangePassword(FrameWindow(), BoxIndex(), old, password);
  if (ticket == 0) {
    ShowMessageBox(Handle(), Translate(kSetPasswordFailedText), Translate(kWizardCaption));
    return false;
  }
  m_sent = Utf16ToUtf8(password);
  RequestStarted(ticket, CommandIndex::ChangePassword);
  return true;
}

void CUserNamePage::OnSettingsResult(CommandIndex index, WPARAM result) {
  if (index != CommandIndex::ChangePassword || result == kResultFailure) {
    return;
  }
  // A remembered password of this user would fail the next Connect. After
  // a lost answer the box may hold the new one: it is remembered too, and
  // should the box not have taken it, its refusal at the next login
  // forgets it while the old one still opens the box.
  const auto device = DeviceList::Instance().At(BoxIndex());
  if (!device) {
    return;
  }
  const std::string box(FieldText(device->name, sizeof device->name));
  const std::string user(CurrentCredentials().UserName());
  if (!box.empty() && RememberedLogin(box).user == user) {
    StoreLogin(box, user, m_sent);
  }
}

} // namespace corvesta
