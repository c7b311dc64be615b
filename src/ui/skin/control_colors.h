#pragma once
// The colours of the skinned lists: cell texts, the selected row, the rule
// under each row, and the unset "select" text.

#include <QColor>

namespace corvesta::skin {

inline constexpr QRgb kListTextDefault = 0xFFFFFF;   // a cell without a column style
inline constexpr QRgb kListTextSecondary = 0xAAAAAA; // light grey second columns
inline constexpr QRgb kListTextUnset = 0x969696;     // the "select" text
inline constexpr QRgb kListRowRule = 0x4B4B4B;       // the line under every row
inline constexpr QRgb kListChooserFill = 0x505050;   // behind the in-place chooser

// The dots of a disabled address field, as the desktop's grey text.
inline constexpr QRgb kAddressDotDisabled = 0x6D6D6D;

} // namespace corvesta::skin
