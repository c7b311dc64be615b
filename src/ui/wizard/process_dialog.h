#pragma once
// The format progress dialog: runs the core's formatting chain (stop the
// box's file browser, create the volumes, read the state once a second,
// remount, check, finish) and shows how far it got and how it ended.
//
// It is opened window-modal with open(); Start() then sends the first step.
// While a step runs nothing closes it: Escape and the window's close are
// refused with a beep, and OK, Cancel and Close stay disabled. Every end
// (completed, failed, refused, unanswered, out of time) shows its message
// and enables the three buttons, which then close it; OK then has the focus
// and is the default button.

#include <memory>
#include <optional>

#include "setup/format_chain.h"
#include "ui/skin/gdip_dialog.h"

namespace corvesta {

class CGdipButton;
class CGdipIconStatic;
class CGdipProcessCtrl;
class CTransStatic;
class QtSequenceHost;

class CProcessDialog : public CGdipDialog, private FormatChainObserver {
  Q_OBJECT
public:
  // `volumes`: one VolumeSpec or two chained; the chain copies them.
  CProcessDialog(QWidget *parent, std::int32_t boxIndex, const VolumeSpec &volumes,
                 FormatRequests requests = {});
  ~CProcessDialog() override;

  // Sends the first step; the rest follows the box's answers.
  void Start();
  bool Running() const;
  // How the chain ended; nothing while it runs.
  const std::optional<FormatOutcome> &Outcome() const { return m_outcome; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

public Q_SLOTS:
  void reject() override;

Q_SIGNALS:
  // The chain has ended (the dialog stays until it is closed).
  void ChainEnded();

private:
  void BuildControls();
  void EnableButtons(bool enabled);

  // FormatChainObserver.
  void OnStage(FormatStage stage) override;
  void OnPercent(int percent) override;
  void OnNotice(std::u16string_view text) override;
  void OnEnd(const FormatOutcome &outcome) override;

  CTransStatic *m_title = nullptr;
  CTransStatic *m_text = nullptr;
  CGdipProcessCtrl *m_progress = nullptr;
  CTransStatic *m_percent = nullptr;
  CGdipIconStatic *m_icon = nullptr;
  CGdipIconStatic *m_runningPicture = nullptr;
  QtSequenceHost *m_host = nullptr;
  std::unique_ptr<FormatChain> m_chain;
  std::optional<FormatOutcome> m_outcome;
  bool m_noticeShown = false;
};

} // namespace corvesta
