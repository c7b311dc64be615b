#pragma once
// A wizard page that shows the box's current values: each activation reads
// them (cgi_get_wizard) with the page's own window as receiver; the page's
// fields stay disabled until the answer, and its settings are sent only
// after a read that succeeded on this visit.

#include "nas/replies/wizard_info.h"
#include "ui/wizard/wizard_page.h"

namespace corvesta {

class CBoxValuesPage : public CWizardPage {
  Q_OBJECT
public:
  enum class LoadState { NoBox, Loading, Loaded, Failed };

  void LoadFromBox() override;
  LoadState Load() const { return m_load; }

protected:
  // Puts the box's values into the fields.
  virtual void ShowBoxValues(const WizardInfo &info) = 0;
  virtual void EnableFields(bool enabled) = 0;

  // True when the box's values came on this visit. Otherwise false, after
  // "Get wizard information failed." when the read failed and `tellFailure`.
  bool ValuesLoaded(bool tellFailure) const;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void LoadEnded(bool success);

  LoadState m_load = LoadState::NoBox;
  Ticket m_loadTicket = 0;
};

} // namespace corvesta
