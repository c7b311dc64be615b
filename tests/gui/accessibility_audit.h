#pragma once
// What a screen reader would stumble over in a window, found by walking its
// accessibility tree in process (QAccessible interfaces, no bus). Each
// problem is one line naming the widget (class, control id, object or
// accessible name) and what is wrong with it:
//   - a control without a name, or with a generic role (no role, client,
//     pane, grouping) where it takes the keyboard focus;
//   - a button, check box, radio button or combo box that is enabled and
//     offers no action;
//   - a checkable control whose state does not say it is checkable;
//   - the window itself without a name.
// A control is any node whose widget is visible and takes the focus, and
// any node of a control role (buttons, fields, lists and their items,
// tables and their column headers, progress bars, page tabs, static text
// that says something).
// Invisible nodes and their subtrees are left out.

#include <QStringList>

class QWidget;

namespace corvesta::test {

QStringList AccessibilityProblems(QWidget *window);

} // namespace corvesta::test
