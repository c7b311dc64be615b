#include "ui/wizard/wizard_page.h"

#include "ui/platform/qt_message_target.h"
#include "ui/wizard/wizard_dialog_base.h"

namespace corvesta {

CWizardPage::CWizardPage()
    : m_target(new QtMessageTarget(
          this, [this](UINT m, WPARAM w, LPARAM l) { return WindowProc(m, w, l); }, this)) {
  hide();
}

CWizardPage::~CWizardPage() {
  // No message reaches a page that is half gone.
  delete m_target;
}

void CWizardPage::Setup(int templateId, std::int32_t boxIndex, const QString &name,
                        const QString &hint) {
  m_templateId = templateId;
  m_boxIndex = boxIndex;
  m_name = name;
  m_hint = hint;
}

WindowHandle CWizardPage::Handle() const {
  return m_target->Handle();
}

bool CWizardPage::Create(CWizardDialogBase *frame, WindowHandle frameWindow) {
  if (m_created) {
    return true;
  }
  setParent(frame);
  hide();
  m_created = true;
  m_frame = frame;
  m_frameWindow = frameWindow;
  LayoutControls();
  return OnPageCreated();
}

void CWizardPage::Destroy() {
  if (!m_created) {
    return;
  }
  OnPageDestroy();
  hide();
  setParent(nullptr);
  m_created = false;
  m_active = false;
  m_frame = nullptr;
}

void CWizardPage::SetPending(bool pending) {
  m_pending = pending;
  if (!pending) {
    m_requestTicket = 0;
    m_requestCommand = CommandIndex::None;
  }
}

void CWizardPage::RequestStarted(Ticket ticket, CommandIndex command) {
  m_requestTicket = ticket;
  m_requestCommand = command;
}

LRESULT CWizardPage::WindowProc(UINT, WPARAM, LPARAM) {
  return 0;
}

} // namespace corvesta
