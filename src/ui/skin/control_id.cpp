#include "ui/skin/control_id.h"

#include <QHash>
#include <QObject>
#include <QWidget>

namespace corvesta {
namespace {

// The ids of the controls that have one. Widgets live on the window thread,
// and so does this table; a control leaves it when it is destroyed. (A
// dynamic property would cost a search through the class's properties at
// every look-up, and a dialog looks its controls up often.)
QHash<const QWidget *, int> &Ids() {
  // Never destroyed: a control that outlives the program's static objects
  // still finds the table when it goes.
  static auto *ids = new QHash<const QWidget *, int>;
  return *ids;
}

} // namespace

void SetDlgCtrlID(QWidget *control, int id) {
  if (control == nullptr) {
    return;
  }
  QHash<const QWidget *, int> &ids = Ids();
  if (id == 0) {
    ids.remove(control);
    return;
  }
  const bool known = ids.contains(control);
  ids.insert(control, id);
  if (!known) {
    QObject::connect(control, &QObject::destroyed, [control] { Ids().remove(control); });
  }
}

int GetDlgCtrlID(const QWidget *control) {
  return control == nullptr ? 0 : Ids().value(control, 0);
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
