#pragma once
// Numeric control ids: every control of a dialog keeps the id it is known by,
// so a dialog (and a test) can reach it with GetDlgItem.

class QWidget;

namespace corvesta {

void SetDlgCtrlID(QWidget *control, int id);
// The control's id, 0 when it has none.
int GetDlgCtrlID(const QWidget *control);
// The first widget below `root` (children, grandchildren ...) with the id, or
// null.
QWidget *FindDlgItem(const QWidget *root, int id);

} // namespace corvesta
