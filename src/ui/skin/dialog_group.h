#pragma once
// Dialog groups: the controls of one parent, in their order, are split into
// groups, each starting at a control marked as a group start and running to
// the next such mark (the first control starts the first group). Radio-style
// buttons of one group exclude each other.

#include <QList>

class QWidget;

namespace corvesta {

void SetGroupStart(QWidget *control, bool start);
bool IsGroupStart(const QWidget *control);

// The other members of the control's group, in the order of a walk that
// starts after the control and wraps round to it; empty when it is alone.
QList<QWidget *> OtherGroupMembers(const QWidget *control);

} // namespace corvesta
