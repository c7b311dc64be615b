#include "ui/skin/dialog_group.h"

#include <QVariant>
#include <QWidget>

namespace corvesta {
namespace {

constexpr char kGroupProperty[] = "corvestaGroupStart";

QList<QWidget *> Siblings(const QWidget *control) {
  QList<QWidget *> siblings;
  const QWidget *parent = control->parentWidget();
  if (parent == nullptr) {
    return siblings;
  }
  for (QObject *child : parent->children()) {
    if (child->isWidgetType() && !static_cast<QWidget *>(child)->isWindow()) {
      siblings.append(static_cast<QWidget *>(child));
    }
  }
  return siblings;
}

} // namespace

void SetGroupStart(QWidget *control, bool start) {
  if (control != nullptr) {
    control->setProperty(kGroupProperty, start);
  }
}

bool IsGroupStart(const QWidget *control) {
  return control != nullptr && control->property(kGroupProperty).toBool();
}

QList<QWidget *> OtherGroupMembers(const QWidget *control) {
  QList<QWidget *> others;
  if (control == nullptr) {
    return others;
  }
  const QList<QWidget *> siblings = Siblings(control);
  const qsizetype self = siblings.indexOf(const_cast<QWidget *>(control));
  if (self < 0) {
    return others;
  }
  qsizetype first = self;
  while (first > 0 && !IsGroupStart(siblings[first])) {
    --first;
  }
  qsizetype end = self + 1;
  while (end < siblings.size() && !IsGroupStart(siblings[end])) {
    ++end;
  }
  for (qsizetype i = self + 1; i < end; ++i) {
    others.append(siblings[i]);
  }
  for (qsizetype i = first; i < self; ++i) {
    others.append(siblings[i]);
  }
  return others;
}

} // namespace corvesta
