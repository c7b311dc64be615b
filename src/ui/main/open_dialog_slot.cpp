#include "ui/main/open_dialog_slot.h"

namespace corvesta {

namespace {
// UI thread only, like every window.
QPointer<QWidget> &Slot() {
  static QPointer<QWidget> slot;
  return slot;
}
} // namespace

QWidget *OpenDialog() {
  return Slot().data();
}

ScopedOpenDialog::ScopedOpenDialog(QWidget *dialog) : m_previous(Slot()) {
  Slot() = dialog;
}

ScopedOpenDialog::~ScopedOpenDialog() {
  Slot() = m_previous;
}

} // namespace corvesta
