#pragma once
// The drive mapping page, the wizard's last: every share of the box with the
// drive letter it is connected to, or "select". Picking a letter in a
// share's Location cell connects the share at once (after disconnecting its
// old letter), picking "select" disconnects it. Next does nothing here.
//
// The page reads the share list each time it is shown. The connections are
// made through the NetworkDrives service on a worker of their own; until it
// reports, the list takes no choice. Exit and Finish stop a running change
// and wait for it, within the drives' call limit.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "ui/wizard/wizard_page.h"

namespace corvesta {

class CGdipListCtrl;
class DriveChange;

class CDriveMappingPage : public CWizardPage {
  Q_OBJECT
public:
  ~CDriveMappingPage() override;

  void LoadFromBox() override;
  bool OnQueryCancel() override;
  bool OnWizardFinish() override;
  void OnPageDestroy() override;

  // For tests: the box address of the last load, whether a change runs.
  const std::string &BoxAddress() const { return m_boxAddress; }
  bool ChangeRunning() const { return m_change != nullptr; }
  CGdipListCtrl *List() const { return m_list; }

protected:
  void LayoutControls() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  // A letter's connection, as the last scan found it.
  struct Slot {
    std::string server;
    std::string share;
    char16_t drive = 0; // 0: not connected
  };

  void LoadEnded(bool success);
  void ScanConnections();
  void BuildRows();
  void FillChoices(int row, QStringList &choices) const;
  void CellEdited(int row);
  void ChangeEnded(std::uint64_t number);
  void StopChange();
  void SetBusy(bool busy);

  CGdipListCtrl *m_list = nullptr;
  std::string m_boxAddress;
  std::string m_boxName;
  Ticket m_loadTicket = 0;
  // Z first.
  std::array<Slot, 26> m_slots{};
  // The letter each row showed when the list was last built, ' ' for "select".
  std::vector<char16_t> m_rowLetters;

  // The change that runs, and what it was for.
  std::shared_ptr<DriveChange> m_change;
  std::size_t m_changeRow = 0;
  std::u16string m_changeShare;
  std::u16string m_changeOld;
  std::u16string m_changeNew;
  std::uint64_t m_changeCount = 0;
};

} // namespace corvesta
