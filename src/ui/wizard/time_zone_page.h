#pragma once
// The time zone page: the box's zone among the 96 of the list, read when the
// page is shown and sent with cgi_timezone as the row's position plus one.

#include "ui/wizard/box_values_page.h"

namespace corvesta {

class CGdipButton;
class CGdipListCtrl;

class CTimeZonePage : public CBoxValuesPage {
  Q_OBJECT
public:
  bool Apply() override;
  void LoadFromBox() override;

  int SelectedRow() const { return m_selected; }
  int LoadedRow() const { return m_loaded; }

protected:
  void LayoutControls() override;
  void ShowBoxValues(const WizardInfo &info) override;
  void EnableFields(bool enabled) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void UpdateScrollButtons();

  CGdipListCtrl *m_list = nullptr;
  CGdipButton *m_up = nullptr;
  CGdipButton *m_down = nullptr;
  int m_selected = -1;
  int m_loaded = -1;
};

} // namespace corvesta
