#pragma once
// The program's icon: the one the icon theme has under the application id
// (installed with the program), else the copy built into the program.

#include <QIcon>

namespace corvesta {

QIcon ApplicationIcon();

} // namespace corvesta
