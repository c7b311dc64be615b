#pragma once
// What assistive technology reads of a skinned report list that holds one
// choice per row (the time zones): a list named by the list's accessible
// name whose children are its rows, each a list item named by its cells
// ("Hawaii, GMT-10:00"), selected while the row is, whose press action
// chooses the row exactly as a click on it does. A list of several choices
// per row (the drive mapping) keeps Qt's reading as a table with its header.

class QAccessibleInterface;

namespace corvesta {

class CGdipListCtrl;

// The list reading, or nullptr for a list that reads as a table.
QAccessibleInterface *MakeListCtrlAccessible(CGdipListCtrl *list);

} // namespace corvesta
