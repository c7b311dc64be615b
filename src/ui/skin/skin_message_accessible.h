#pragma once
// What assistive technology reads of the skinned message box: an alert
// named by its caption (by its text when the caption is empty), with the
// text as its description and value, as a system message box reads.

namespace corvesta {

// Installs the reading for CSkinMessageDialog; later calls do nothing. UI
// thread only.
void InstallMessageDialogAccessibility();

} // namespace corvesta
