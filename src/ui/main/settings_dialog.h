#pragma once
// The settings dialog: the idle-logout time. OK sets the process-wide idle
// time from the ticked radio; the main window stores it and re-arms its
// timer. While open the dialog sits in the open-dialog slot, so that an idle
// logout closes it as if it were cancelled.

#include <array>
#include <cstdint>

#include "ui/main/open_dialog_slot.h"
#include "ui/skin/gdip_dialog.h"

namespace corvesta {

class CGdipButton;

class CSettingsDialog : public CGdipDialog {
  Q_OBJECT
public:
  explicit CSettingsDialog(QWidget *parent = nullptr);

  // The radio that an idle time ticks when the dialog opens.
  static int RadioFor(std::uint32_t idleTime);

private:
  void BuildControls();
  void OnOk();

  ScopedOpenDialog m_slot;
};

} // namespace corvesta
