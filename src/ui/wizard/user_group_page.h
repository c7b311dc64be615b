#pragma once
// The device info page: the box's device name, workgroup and description,
// read when the page is shown and sent with cgi_device.

#include "ui/wizard/box_values_page.h"

class QLineEdit;

namespace corvesta {

class CUserGroupPage : public CBoxValuesPage {
  Q_OBJECT
public:
  bool Apply() override;

protected:
  void LayoutControls() override;
  void ShowBoxValues(const WizardInfo &info) override;
  void EnableFields(bool enabled) override;

private:
  void ShowRefusal(const std::u16string &text) const;

  QLineEdit *m_name = nullptr;
  QLineEdit *m_workgroup = nullptr;
  QLineEdit *m_description = nullptr;
};

} // namespace corvesta
