#pragma once
// The password page: the logged-in user's new password, typed twice, with
// the old one. Nothing is read from the box; what was typed stays while
// other pages are visited.

#include <string>

#include "ui/wizard/wizard_page.h"

class QLineEdit;

namespace corvesta {

class CUserNamePage : public CWizardPage {
  Q_OBJECT
public:
  bool Apply() override;
  void OnSettingsResult(CommandIndex index, WPARAM result) override;

protected:
  void LayoutControls() override;

private:
  QLineEdit *m_new = nullptr;
  QLineEdit *m_confirmation = nullptr;
  QLineEdit *m_old = nullptr;
  std::string m_sent; // the new password of the request in flight
};

} // namespace corvesta
