#pragma once
// Which box the list selects after a discovery: the box used last, found by
// its exact name (a later box of the same name wins), else the first box.

#include <QStringList>

namespace corvesta {

// The position to select among `names`; -1 for an empty list.
int ChooseListedBox(const QStringList &names, const QString &lastBox);

} // namespace corvesta
