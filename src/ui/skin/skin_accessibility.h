#pragma once
// What assistive technology reads of the skinned buttons: a radio-style
// button is a radio button and a check box a check box (the skinned buttons
// are not auto-exclusive, so Qt's own reading would call every checkable one
// a check box), the settings dialog's underlined tab is a page tab (selected
// while its page shows), with the checked state, and every action a click
// performs does what the click does: choosing a radio-style button switches
// what it stands for, exactly as a mouse click would. The folder grid is a list of
// its entries (folder_list_accessible.h), an address control an editable
// text of four fields (address_accessible.h), a list of one choice per row a
// list of its rows (list_ctrl_accessible.h).
//
// The factory is installed once, by the first skinned control made.

class QAccessibleInterface;
class QObject;
class QString;

namespace corvesta {

// The interface for a skinned button, or nullptr for any other object.
QAccessibleInterface *SkinAccessibleFactory(const QString &className, QObject *object);

// Installs SkinAccessibleFactory; later calls do nothing. UI thread only.
void InstallSkinAccessibility();

} // namespace corvesta
