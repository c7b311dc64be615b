#include "ui/main/box_choice.h"

namespace corvesta {

int ChooseListedBox(const QStringList &names, const QString &lastBox) {
  if (names.isEmpty()) {
    return -1;
  }
  if (!lastBox.isEmpty()) {
    const int found = static_cast<int>(names.lastIndexOf(lastBox));
    if (found >= 0) {
      return found;
    }
  }
  return 0;
}

} // namespace corvesta
