#pragma once
// What assistive technology reads of the folder grid: a list whose children
// are its entries, each a list item named by the whole share name, selected
// when the grid's selection is on it, with the action "open" (and the press
// action, the same) that opens the entry as a double-click does.

class QAccessibleInterface;

namespace corvesta {

class CFolderListCtrl;

QAccessibleInterface *MakeFolderListAccessible(CFolderListCtrl *folders);

} // namespace corvesta
