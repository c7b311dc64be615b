#include "ui/wizard/wizard_dialog_base.h"

#include <QCloseEvent>

#include "i18n/translate.h"
#include "nas/query.h"
#include "nas/take_query.h"
#include "platform/message_box.h"
#include "setup/change_failure.h"
#include "ui/main/open_dialog_slot.h"
#include "ui/qt_text.h"
#include "ui/wizard/wizard_ids.h"
#include "ui/wizard/wizard_layout.h"
#include "ui/wizard/wizard_messages.h"
#include "ui/wizard/wizard_page.h"
#include "worker/private_messages.h"

namespace corvesta {

using namespace wizard_ids;

CWizardDialogBase::CWizardDialogBase(QWidget *parent, WindowHandle owner)
    : CGdipDialog(parent), m_owner(owner), m_slot(std::make_unique<ScopedOpenDialog>(this)) {}

CWizardDialogBase::~CWizardDialogBase() {
  DestroyPages();
}

void CWizardDialogBase::DestroyPages() {
  // The pages belong to the launcher: they leave the frame rather than
  // going with it, and nothing of theirs runs on.
  for (CWizardPage *page : m_pages) {
    if (page->IsCreated()) {
      page->OnKillActive();
      page->Destroy();
    }
  }
  m_slot.reset();
}

void CWizardDialogBase::AddPage(CWizardPage *page, int templateId, std::int32_t boxIndex,
                                const QString &name, const QString &hint) {
  page->Setup(templateId, boxIndex, name, hint);
  m_pages.push_back(page);
  m_boxIndex = boxIndex;
}

void CWizardDialogBase::Initialise() {
  for (CWizardPage *page : m_pages) {
    if (page->IsActive()) {
      page->hide();
      page->SetActiveFlag(false);
    }
  }
  ShowButton(kPrevious, false);
  const bool several = m_pages.size() > 1;
  ShowButton(kFinish, !several);
  ShowButton(kNext, several);
  if (!m_pages.empty()) {
    SetActivePage(m_pages.front());
  }
  UpdateDefaultButton();
}

int CWizardDialogBase::Run() {
  Initialise();
  return exec();
}

CWizardPage *CWizardDialogBase::ActivePage() const {
  for (CWizardPage *page : m_pages) {
    if (page->IsActive()) {
      return page;
    }
  }
  return nullptr;
}

int CWizardDialogBase::IndexOf(const CWizardPage *page) const {
  for (std::size_t i = 0; i < m_pages.size(); ++i) {
    if (m_pages[i] == page) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

CWizardPage *CWizardDialogBase::PageNamed(const QString &name) const {
  for (CWizardPage *page : m_pages) {
    if (page->Name() == name) {
      return page;
    }
  }
  return nullptr;
}

bool CWizardDialogBase::SetActivePage(CWizardPage *page) {
  if (page == nullptr) {
    return false;
  }
  if (!page->IsCreated() && !page->Create(this, Handle())) {
    return false;
  }
  CWizardPage *old = ActivePage();
  if (old != nullptr && old != page) {
    if (!old->OnKillActive()) {
      return false;
    }
    old->hide();
    old->SetActiveFlag(false);
  }
  page->setGeometry(wizard_layout::kPageArea);
  page->setEnabled(true);
  page->show();
  page->repaint();
  page->RecordFrame(Handle());
  page->LoadFromBox();
  page->OnSetActive();
  page->SetActiveFlag(true);
  return true;
}

void CWizardDialogBase::ShowButton(int id, bool shown) {
  if (QWidget *button = GetDlgItem(id)) {
    button->setVisible(shown);
    button->setEnabled(shown);
  }
  LayoutNavigation();
  UpdateDefaultButton();
}

void CWizardDialogBase::UpdateDefaultButton() {
  // Enter presses Next, or Finish where Next is gone.
  for (int id : {kNext, kFinish}) {
    auto *button = qobject_cast<QAbstractButton *>(GetDlgItem(id));
    if (button != nullptr && !button->isHidden() && button->isEnabled()) {
      SetDefaultButton(button);
      return;
    }
  }
  SetDefaultButton(nullptr);
}

void CWizardDialogBase::SetBusy(bool busy) {
  if (busy) {
    setCursor(Qt::BusyCursor);
  } else {
    unsetCursor();
  }
}

CWizardPage *CWizardDialogBase::Target(int code, bool forward) const {
  if (code != 0) {
    for (CWizardPage *page : m_pages) {
      if (page->TemplateId() == code) {
        return page;
      }
    }
    return nullptr;
  }
  const int index = IndexOf(ActivePage()) + (forward ? 1 : -1);
  if (index < 0 || index >= static_cast<int>(m_pages.size())) {
    return nullptr;
  }
  return m_pages[static_cast<std::size_t>(index)];
}

// ---------------------------------------------------------------- buttons

void CWizardDialogBase::OnNext() {
  CWizardPage *page = ActivePage();
  if (page == nullptr || page->IsPending()) {
    return;
  }
  if (m_applyOnNext) {
    if (!page->Apply()) {
      return; // the page has said why
    }
    page->SetPending(true);
    HideForRequest();
    return;
  }
  m_applyOnNext = true;
  const int code = page->OnWizardNext();
  if (code == -1) {
    return;
  }
  CWizardPage *target = Target(code, true);
  if (target == nullptr) {
    if (code == 0) {
      OnExit(); // past the last page
    }
    return;
  }
  if (!SetActivePage(target)) {
    return;
  }
  ShowButtonsFor(target, true);
}

void CWizardDialogBase::ShowButtonsFor(const CWizardPage *page, bool showSkip) {
  const bool last = page == m_pages.back();
  ShowButton(kNext, !last);
  ShowButton(kFinish, last);
  ShowButton(kPrevious, page != m_pages.front());
  if (showSkip && !last) {
    ShowButton(kSkip, true);
  }
}

void CWizardDialogBase::OnSkip() {
  CWizardPage *page = ActivePage();
  if (page == nullptr || page->IsPending()) {
    return;
  }
  m_applyOnNext = false;
  OnNext();
}

void CWizardDialogBase::OnPrevious() {
  CWizardPage *page = ActivePage();
  if (page == nullptr) {
    return;
  }
  const int code = page->OnWizardBack();
  if (code == -1) {
    return;
  }
  CWizardPage *target = Target(code, false);
  if (target == nullptr || !SetActivePage(target)) {
    return;
  }
  // Skip may have stayed hidden after a refusal on the page just left.
  ShowButtonsFor(target, true);
}

void CWizardDialogBase::OnStep(int button) {
  const Step *step = nullptr;
  for (const Step &s : kSteps) {
    if (s.button == button) {
      step = &s;
    }
  }
  if (step == nullptr) {
    return;
  }
  const QString key = ToQString(Translate(step->key));
  CWizardPage *active = ActivePage();
  if (active != nullptr && active->Name() == key) {
    return;
  }
  CWizardPage *page = PageNamed(key);
  if (page == nullptr || !SetActivePage(page)) {
    ShowMessageBox(Handle(), Translate(kPageLoadFailureText), Translate(kWizardCaption));
    return;
  }
  ShowButtonsFor(page, false);
}

void CWizardDialogBase::OnFinish() {
  CWizardPage *page = ActivePage();
  if (page == nullptr || page->IsPending()) {
    return;
  }
  if (page->Apply()) {
    // The run ends when the box has taken the page's settings.
    page->SetPending(true);
    m_finishing = true;
    HideForRequest();
    return;
  }
  CompleteFinish();
}

void CWizardDialogBase::CompleteFinish() {
  m_finishing = false;
  CWizardPage *page = ActivePage();
  if (page != nullptr && !page->OnKillActive()) {
    return;
  }
  for (CWizardPage *each : m_pages) {
    if (each->IsCreated() && !each->OnWizardFinish()) {
      return;
    }
  }
  EndRun(kFinishedResult);
}

void CWizardDialogBase::OnExit() {
  for (CWizardPage *page : m_pages) {
    if (page->IsCreated() && !page->OnQueryCancel()) {
      return;
    }
  }
  EndRun(QDialog::Rejected);
}

void CWizardDialogBase::EndRun(int result) {
  if (m_ended) {
    return;
  }
  m_ended = true;
  SetBusy(false);
  done(result);
  DestroyPages();
}

void CWizardDialogBase::reject() {
  OnExit(); // Escape
}

void CWizardDialogBase::closeEvent(QCloseEvent *event) {
  event->ignore();
  if (event->spontaneous()) {
    OnExit(); // Alt+F4 and the window system's close
  } else {
    EndRun(QDialog::Rejected); // the main window closes the run
  }
}

// ---------------------------------------------------------------- outcomes

void CWizardDialogBase::HideForRequest() {
  ShowButton(kNext, false);
  ShowButton(kSkip, false);
  ShowButton(kPrevious, false);
  ShowButton(kFinish, false);
  SetBusy(true);
}

void CWizardDialogBase::RestoreButtons(bool keepSkipHidden) {
  CWizardPage *page = ActivePage();
  if (page == m_pages.front()) {
    ShowButton(kSkip, !keepSkipHidden);
    ShowButton(kNext, true);
    ShowButton(kFinish, false);
    ShowButton(kPrevious, false);
  } else if (page == m_pages.back()) {
    ShowButton(kNext, false);
    ShowButton(kFinish, true);
    ShowButton(kPrevious, true);
  } else {
    ShowButton(kNext, true);
    ShowButton(kFinish, true);
    ShowButton(kPrevious, true);
  }
}

void CWizardDialogBase::PageRequestEnded(CWizardPage *sender, PageOutcome outcome,
                                         std::u16string_view message) {
  if (sender != nullptr) {
    sender->SetPending(false);
  }
  if (CWizardPage *active = ActivePage()) {
    active->SetPending(false);
  }
  SetBusy(false);
  if (outcome == PageOutcome::Advance) {
    if (m_finishing) {
      CompleteFinish();
    } else {
      m_applyOnNext = false;
      OnNext();
    }
    return;
  }
  m_finishing = false;
  if (!message.empty()) {
    ShowMessageBox(Handle(), Translate(message), Translate(kWizardCaption));
  }
  switch (outcome) {
  case PageOutcome::Restore:
    RestoreButtons(false);
    break;
  case PageOutcome::RestoreNoSkip:
    RestoreButtons(true);
    break;
  default:
    break; // KeepHidden, Ended: the buttons stay as they are
  }
}

CWizardPage *FindSender(const std::vector<CWizardPage *> &pages, CommandIndex index) {
  for (CWizardPage *page : pages) {
    if (page->IsPending() && page->RequestCommand() == index) {
      return page;
    }
  }
  return nullptr;
}

void CWizardDialogBase::OnCommandResult(WPARAM result, CommandIndex index) {
  switch (index) {
  case CommandIndex::None: // the disk mode page's end
  case CommandIndex::ChangePassword:
  case CommandIndex::SetDeviceIdentity:
  case CommandIndex::SetTimeZone:
    break;
  default:
    return; // no page waits at the frame for these
  }
  CWizardPage *sender = FindSender(m_pages, index);
  if (sender == nullptr) {
    return; // nothing waits for it any more
  }
  sender->OnSettingsResult(index, result);
  if (result == kResultSuccess) {
    PageRequestEnded(sender, PageOutcome::Advance, {});
  } else {
    PageRequestEnded(sender, PageOutcome::Restore,
                     ChangeFailureText(result, SettingsFailureText(index)));
  }
}

void CWizardDialogBase::OnUnanswered(Ticket ticket) {
  if (ticket == 0) {
    return;
  }
  for (CWizardPage *page : m_pages) {
    if (page->IsPending() && page->RequestTicket() == ticket) {
      const CommandIndex index = page->RequestCommand();
      page->OnSettingsResult(index, kResultFailure);
      PageRequestEnded(page, PageOutcome::Restore, SettingsFailureText(index));
      return;
    }
  }
}

LRESULT CWizardDialogBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const Message posted{Handle(), message, wParam, lParam};
  for (CWizardPage *page : m_pages) {
    if (page->IsCreated() && page->OnFrameMessage(posted)) {
      return 0;
    }
  }
  switch (message) {
  case WM_COMMAND_RESULT:
    OnCommandResult(wParam, static_cast<CommandIndex>(lParam));
    return 0;
  case WM_REQUEST_UNANSWERED:
    OnUnanswered(static_cast<Ticket>(wParam));
    return 0;
  case WM_QUERY_RESULT:
    TakeQuery(posted); // nothing of the frame's travels this way
    return 0;
  case WM_CLOSE:
    EndRun(QDialog::Rejected); // without asking the pages
    return 0;
  default:
    return CGdipDialog::WindowProc(message, wParam, lParam);
  }
}

} // namespace corvesta
