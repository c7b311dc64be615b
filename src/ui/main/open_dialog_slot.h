#pragma once
// The open-dialog slot: the modal dialog that an idle logout or a box that
// left this PC's subnet must close. The settings dialog and the wizard put
// themselves here while they run; the main window closes what it holds.

#include <QPointer>
#include <QWidget>

namespace corvesta {

// The dialog in the slot, or null (also once that dialog is gone).
QWidget *OpenDialog();

// Puts `dialog` into the slot for the object's lifetime and gives back what
// was there before.
class ScopedOpenDialog {
public:
  explicit ScopedOpenDialog(QWidget *dialog);
  ~ScopedOpenDialog();
  ScopedOpenDialog(const ScopedOpenDialog &) = delete;
  ScopedOpenDialog &operator=(const ScopedOpenDialog &) = delete;

private:
  QPointer<QWidget> m_previous;
};

} // namespace corvesta
