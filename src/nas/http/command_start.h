#pragma once
// What every start operation of the command set does first: a query bound
// to the window, with kind, command index and device index set.

#include <memory>

#include "nas/query.h"

namespace corvesta {

inline std::unique_ptr<CQuery> NewCommandQuery(WindowHandle window, QueryKind kind,
                                               CommandIndex index, std::int32_t deviceIndex) {
  auto query = std::make_unique<CQuery>(window);
  query->kind = kind;
  query->commandIndex = index;
  query->deviceIndex = deviceIndex;
  return query;
}

} // namespace corvesta
