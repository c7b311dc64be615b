#pragma once
// The program's icon: the one the icon theme has under the application id
// (installed with the program), else the copy built into the program.
// Looking through the icon theme's folders takes milliseconds, so the
// program starts with the built-in copy and asks the theme once its window
// is up.

#include <QIcon>

namespace corvesta {

// The copy built into the program; its images are decoded when first used.
QIcon BuiltInApplicationIcon();
// The icon theme's icon under the application id; null when it has none.
QIcon ThemedApplicationIcon();
// Makes the built-in copy every window's icon now and, once the event loop
// runs, the theme's icon instead when the theme has one.
void InstallApplicationIcon();

} // namespace corvesta
