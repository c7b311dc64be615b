#pragma once
// The disk mode page: asks the box for its disks each time it is shown,
// offers the modes they allow (StandAlone for one disk, also JBOD, RAID 0
// and RAID 1 for two), and on Next checks the plan, asks once whether the
// disks may be rebuilt, and opens the format progress dialog. When that
// dialog has been closed, whatever its outcome, the page tells the frame
// (WM_COMMAND_RESULT 0, 0), which moves on. The idle logout waits while
// the dialog's chain runs.

#include <array>
#include <memory>
#include <optional>

#include <QPointer>

#include "nas/replies/hd_info.h"
#include "setup/volume_plan.h"
#include "ui/wizard/wizard_page.h"

namespace corvesta {

class CIconRadioButton;
class CProcessDialog;
class IdleLogoutHold;

class CRaidPage : public CWizardPage {
  Q_OBJECT
public:
  CRaidPage();
  ~CRaidPage() override;

  void LoadFromBox() override;
  bool Apply() override;
  bool OnQueryCancel() override;
  void OnPageDestroy() override;

  // 0: no usable report, 1 or 2: the disks reported.
  int DiskState() const { return m_diskState; }
  // A disk report arrived since the page was shown and no format ran since.
  bool ReportReceived() const { return m_reportReceived; }
  // The dialog while it is open (tests drive it).
  CProcessDialog *Dialog() const;

protected:
  void LayoutControls() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void OnDiskReport(const HdInfo &disks);
  void LoadFailed();
  // Enables the options the disk count allows.
  void EnableOptions(int diskCount);
  // The first checked option that is enabled.
  std::optional<DiskMode> ChosenMode() const;
  void OnDialogFinished();
  void CloseDialog();

  std::array<CIconRadioButton *, 4> m_options{};
  HdInfo m_disks{};
  int m_diskState = 0;
  bool m_reportReceived = false;
  Ticket m_loadTicket = 0;
  QPointer<CProcessDialog> m_dialog;
  // Held from the question's OK to the chain's end.
  std::unique_ptr<IdleLogoutHold> m_idleHold;
};

} // namespace corvesta
