#pragma once
// One page of the set-up wizard: a plain child widget of the frame, built on
// its first activation and kept until the frame goes, so what was typed on it
// survives visits to other pages.
//
// A page reads the box's values when it is shown (its own requests report to
// the page's handle) and sends its settings when the frame applies it (those
// requests report to the frame's handle). The frame keeps which page sent
// the request it waits for; the page only says what it started.

#include <QString>
#include <QWidget>
#include <cstdint>

#include "nas/query_kind.h"
#include "platform/window_message.h"
#include "worker/ticket.h"

namespace corvesta {

class CWizardDialogBase;
class QtMessageTarget;

class CWizardPage : public QWidget {
  Q_OBJECT
public:
  CWizardPage();
  ~CWizardPage() override;

  // Set by the frame's AddPage.
  void Setup(int templateId, std::int32_t boxIndex, const QString &name, const QString &hint);

  int TemplateId() const { return m_templateId; }
  std::int32_t BoxIndex() const { return m_boxIndex; }
  const QString &Name() const { return m_name; }
  const QString &Hint() const { return m_hint; }
  bool IsCreated() const { return m_created; }
  bool IsActive() const { return m_active; }
  CWizardDialogBase *Frame() const { return m_frame; }
  WindowHandle FrameWindow() const { return m_frameWindow; }

  // The settings request this page started and the frame waits for.
  bool IsPending() const { return m_pending; }
  Ticket RequestTicket() const { return m_requestTicket; }
  CommandIndex RequestCommand() const { return m_requestCommand; }

  // The handle this page's own requests (its loads) report to.
  WindowHandle Handle() const;

  // Builds the controls once, as a child of `frame`. False when the page
  // refuses (OnPageCreated).
  bool Create(CWizardDialogBase *frame, WindowHandle frameWindow);
  // Before the frame goes: OnPageDestroy, and the page leaves the frame.
  void Destroy();

  void SetActiveFlag(bool active) { m_active = active; }
  void SetPending(bool pending);
  void RecordFrame(WindowHandle frameWindow) { m_frameWindow = frameWindow; }

  // The page operations the frame calls.
  // True when a settings request was started (RequestStarted was called).
  virtual bool Apply() { return false; }
  virtual bool OnPageCreated() { return true; }
  virtual void OnPageDestroy() {}
  virtual bool OnKillActive() { return true; }
  virtual void OnSetActive() {}
  virtual bool OnQueryCancel() { return true; }
  virtual bool OnWizardFinish() { return true; }
  // 0: the page beside it in the list; -1: stay; else the template of the target.
  virtual int OnWizardBack() { return 0; }
  virtual int OnWizardNext() { return 0; }
  virtual void LoadFromBox() {}
  // A message that reached the frame's window: true when it was this page's
  // (a sequence the page runs on the frame's host).
  virtual bool OnFrameMessage(const Message &) { return false; }
  // The outcome of this page's settings request, before the frame moves:
  // kResultSuccess, kResultFailure, or kResultReplyLost when the request
  // went out whole and its answer was lost (the box may have made it).
  virtual void OnSettingsResult(CommandIndex, WPARAM) {}

protected:
  // Places and skins the page's controls; called once by Create.
  virtual void LayoutControls() {}
  // Messages posted to the page's own handle.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  // Apply calls this when it has started the request the frame waits for.
  void RequestStarted(Ticket ticket, CommandIndex command);

private:
  QtMessageTarget *m_target;
  CWizardDialogBase *m_frame = nullptr;
  WindowHandle m_frameWindow = 0;
  std::int32_t m_boxIndex = -1;
  int m_templateId = 0;
  QString m_name;
  QString m_hint;
  bool m_created = false;
  bool m_active = false;
  bool m_pending = false;
  Ticket m_requestTicket = 0;
  CommandIndex m_requestCommand = CommandIndex::None;
};

} // namespace corvesta
