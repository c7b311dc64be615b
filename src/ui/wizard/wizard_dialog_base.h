#pragma once
// The wizard frame's navigation: the ordered pages, the one shown, Next,
// Skip, Previous, Finish, Exit and the step buttons, and what follows the
// outcome of a page's settings request.
//
// Next applies the active page first; the move happens when the request's
// outcome arrives (WM_COMMAND_RESULT at the frame, or WM_REQUEST_UNANSWERED
// with the request's ticket). Finish waits the same way when the page
// started a request. Pages that run a sequence of their own (the network
// page) report its end through PageOutcome.

#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "nas/query_kind.h"
#include "ui/skin/gdip_dialog.h"
#include "worker/ticket.h"

namespace corvesta {

class CWizardPage;
class ScopedOpenDialog;

// Where a page is added: the real frame, or a stand-in in tests.
class WizardPageSink {
public:
  virtual ~WizardPageSink() = default;
  virtual void AddPage(CWizardPage *page, int templateId, std::int32_t boxIndex,
                       const QString &name, const QString &hint) = 0;
};

// What follows a page's settings request.
enum class PageOutcome {
  Advance,       // accepted: on to the next page (or the end of Finish)
  Restore,       // refused: the page stays, its buttons come back
  RestoreNoSkip, // as Restore, but Skip stays hidden on the first page too
  KeepHidden,    // refused: Next, Skip and Previous stay hidden
  Ended,         // nothing follows here: the owner has been told
};

class CWizardDialogBase : public CGdipDialog, public WizardPageSink {
  Q_OBJECT
public:
  // `owner` gets WM_NAS_LEFT_SUBNET (0 for none).
  CWizardDialogBase(QWidget *parent, WindowHandle owner);
  ~CWizardDialogBase() override;

  void AddPage(CWizardPage *page, int templateId, std::int32_t boxIndex, const QString &name,
               const QString &hint) override;

  // Shows the first page and its buttons; Run does it before the modal run.
  void Initialise();
  int Run();

  virtual bool SetActivePage(CWizardPage *page);

  const std::vector<CWizardPage *> &Pages() const { return m_pages; }
  CWizardPage *ActivePage() const;
  std::int32_t BoxIndex() const { return m_boxIndex; }
  WindowHandle Owner() const { return m_owner; }
  bool ApplyOnNext() const { return m_applyOnNext; }

  // The buttons, as the person presses them.
  void OnNext();
  void OnSkip();
  void OnPrevious();
  void OnFinish();
  void OnExit();
  void OnStep(int button);

  // A page's settings request has ended.
  void PageRequestEnded(CWizardPage *sender, PageOutcome outcome, std::u16string_view message);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
  void closeEvent(QCloseEvent *event) override;
  void reject() override;

  // Shows and enables, or hides and disables, the control with this id.
  void ShowButton(int id, bool shown);
  // The page key of a step button compared with the page names.
  CWizardPage *PageNamed(const QString &name) const;
  int IndexOf(const CWizardPage *page) const;
  // Places the navigation buttons after one was shown or hidden.
  virtual void LayoutNavigation() {}

private:
  void OnCommandResult(WPARAM result, CommandIndex index);
  void OnUnanswered(Ticket ticket);
  // Next or Finish, and Previous, as the page's place in the list wants;
  // Skip too when `showSkip` and the page is not the last.
  void ShowButtonsFor(const CWizardPage *page, bool showSkip);
  void HideForRequest();
  void RestoreButtons(bool keepSkipHidden);
  void UpdateDefaultButton();
  void SetBusy(bool busy);
  void CompleteFinish();
  void EndRun(int result);
  CWizardPage *Target(int code, bool forward) const;
  void DestroyPages();

  std::vector<CWizardPage *> m_pages;
  bool m_applyOnNext = true;
  bool m_finishing = false; // Finish waits for the active page's request
  bool m_ended = false;
  std::int32_t m_boxIndex = 0;
  WindowHandle m_owner;
  std::unique_ptr<ScopedOpenDialog> m_slot;
};

} // namespace corvesta
