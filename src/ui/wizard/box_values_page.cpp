#include "ui/wizard/box_values_page.h"

#include "i18n/translate.h"
#include "nas/http/command_set.h"
#include "platform/message_box.h"
#include "ui/wizard/wizard_messages.h"
#include "worker/private_messages.h"

namespace corvesta {

void CBoxValuesPage::LoadFromBox() {
  if (BoxIndex() == -1) {
    m_load = LoadState::NoBox;
    return;
  }
  EnableFields(false);
  m_load = LoadState::Loading;
  m_loadTicket = StartReadWizardInfo(Handle(), BoxIndex());
  if (m_loadTicket == 0) {
    m_load = LoadState::Failed;
    ShowMessageBox(Handle(), Translate(kWizardInfoFailedText), Translate(kWizardCaption));
    return;
  }
  setCursor(Qt::BusyCursor);
}

void CBoxValuesPage::LoadEnded(bool success) {
  m_loadTicket = 0;
  unsetCursor();
  if (!success) {
    m_load = LoadState::Failed;
    ShowMessageBox(Handle(), Translate(kWizardInfoFailedText), Translate(kWizardCaption));
    return;
  }
  m_load = LoadState::Loaded;
  ShowBoxValues(CurrentWizardInfo());
  EnableFields(true);
}

bool CBoxValuesPage::ValuesLoaded(bool tellFailure) const {
  if (m_load == LoadState::Loaded) {
    return true;
  }
  if (m_load == LoadState::Failed && tellFailure) {
    ShowMessageBox(Handle(), Translate(kWizardInfoFailedText), Translate(kWizardCaption));
  }
  return false;
}

LRESULT CBoxValuesPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_loadTicket == 0) {
    return CWizardPage::WindowProc(message, wParam, lParam);
  }
  if (message == WM_COMMAND_RESULT &&
      static_cast<CommandIndex>(lParam) == CommandIndex::ReadWizard) {
    LoadEnded(wParam == kResultSuccess);
    return 0;
  }
  if (message == WM_REQUEST_UNANSWERED && static_cast<Ticket>(wParam) == m_loadTicket) {
    LoadEnded(false);
    return 0;
  }
  return CWizardPage::WindowProc(message, wParam, lParam);
}

} // namespace corvesta
