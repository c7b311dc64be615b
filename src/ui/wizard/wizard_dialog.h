#pragma once
// The wizard frame as the person sees it: heading, page title and hint, the
// six step buttons, the navigation buttons and the close button, on the
// wizard's skin.

#include "ui/wizard/wizard_dialog_base.h"

namespace corvesta {

class CTransStatic;

class CWizardDialog : public CWizardDialogBase {
  Q_OBJECT
public:
  // `administrator` enables the four steps only an administrator gets.
  CWizardDialog(QWidget *parent, WindowHandle owner, bool administrator);

  bool SetActivePage(CWizardPage *page) override;

protected:
  void LayoutNavigation() override;

private:
  void BuildControls();
  void SetStepStates(const CWizardPage *page);

  CTransStatic *m_title = nullptr;
  CTransStatic *m_hint = nullptr;
};

} // namespace corvesta
