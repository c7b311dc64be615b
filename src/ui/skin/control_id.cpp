#include "ui/skin/control_id.h"

#include <QVariant>
#include <QWidget>

namespace corvesta {
namespace {

constexpr char kIdProperty[] = "corvestaControlId";

} // namespace

void SetDlgCtrlID(QWidget *control, int id) {
  if (control != nullptr) {
    control->setProperty(kIdProperty, id);
  }
}

int GetDlgCtrlID(const QWidget *control) {
  if (control == nullptr) {
    return 0;
  }
  QVariant id = control->property(kIdProperty);
  return id.isValid() ? id.toInt() : 0;
}

QWidget *FindDlgItem(const QWidget *root, int id) {
  if (root == nullptr || id == 0) {
    return nullptr;
  }
  const QList<QWidget *> widgets = root->findChildren<QWidget *>();
  for (QWidget *widget : widgets) {
    if (GetDlgCtrlID(widget) == id) {
      return widget;
    }
  }
  return nullptr;
}

} // namespace corvesta
