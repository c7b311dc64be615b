#include "ui/wizard/user_group_page.h"

#include <QLineEdit>

#include "i18n/translate.h"
#include "nas/http/command_set.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "setup/identity_rules.h"
#include "ui/main/ui_text.h"
#include "ui/qt_text.h"
#include "ui/wizard/page_controls.h"
#include "ui/wizard/utf8_limit_validator.h"
#include "ui/wizard/wizard_ids.h"
#include "ui/wizard/wizard_messages.h"

namespace corvesta {

using namespace wizard_ids;

namespace {

template <std::size_t N> QString FieldQString(const char (&field)[N]) {
  return ToQString(Utf8ToUtf16(FieldText(field, N)));
}

// Bytes of text each field of the request holds (its last byte is the zero).
constexpr std::size_t kNameBytes = sizeof DeviceIdentity{}.hostname - 1;
constexpr std::size_t kWorkgroupBytes = sizeof DeviceIdentity{}.workgroup - 1;
constexpr std::size_t kDescriptionBytes = sizeof DeviceIdentity{}.description - 1;

} // namespace

void CUserGroupPage::LayoutControls() {
  const struct {
    int label;
    int edit;
    std::u16string_view text;
    std::size_t bytes;
    QLineEdit **field;
  } rows[] = {{kNameLabel, kDeviceName, u"Name", kNameBytes, &m_name},
              {kWorkgroupLabel, kWorkgroup, u"Workgroup", kWorkgroupBytes, &m_workgroup},
              {kDescriptionLabel, kDescription, u"Description", kDescriptionBytes, &m_description}};
  int row = 0;
  for (const auto &r : rows) {
    MakeLabel(this, r.label, r.text, LabelRect(row));
    *r.field = MakeEdit(this, r.edit, FieldRect(row), UiText(r.text));
    (*r.field)->setValidator(new Utf8LimitValidator(r.bytes, *r.field));
    ++row;
  }
  EnableFields(false);
}

void CUserGroupPage::EnableFields(bool enabled) {
  for (QLineEdit *edit : {m_name, m_workgroup, m_description}) {
    edit->setEnabled(enabled);
  }
}

void CUserGroupPage::ShowBoxValues(const WizardInfo &info) {
  m_name->setText(FieldQString(info.name));
  m_workgroup->setText(FieldQString(info.workgroup));
  m_description->setText(FieldQString(info.description));
}

void CUserGroupPage::ShowRefusal(const std::u16string &text) const {
  ShowMessageBox(Handle(), text, Translate(kErrorCaption), MessageBoxButtons::Ok,
                 MessageBoxIcon::Warning);
}

bool CUserGroupPage::Apply() {
  if (!ValuesLoaded(true)) {
    return false;
  }
  const std::u16string description = FromQString(m_description->text());
  const std::u16string name = FromQString(m_name->text());
  const std::u16string workgroup = FromQString(m_workgroup->text());
  const std::string nameBytes = Utf16ToUtf8(name);
  const std::string workgroupBytes = Utf16ToUtf8(workgroup);
  const std::string descriptionBytes = Utf16ToUtf8(description);
  if (auto problem = CheckIdentity(nameBytes, workgroupBytes, descriptionBytes)) {
    ShowRefusal(*problem);
    return false;
  }
  DeviceIdentity identity;
  CopyToField(identity.hostname, sizeof identity.hostname, nameBytes);
  CopyToField(identity.workgroup, sizeof identity.workgroup, workgroupBytes);
  CopyToField(identity.description, sizeof identity.description, descriptionBytes);
  const Ticket ticket = StartSetDeviceIdentity(FrameWindow(), BoxIndex(), identity);
  if (ticket == 0) {
    ShowMessageBox(Handle(), Translate(kSetWorkgroupFailedText), Translate(kWizardCaption));
    return false;
  }
  RequestStarted(ticket, CommandIndex::SetDeviceIdentity);
  return true;
}

} // namespace corvesta
