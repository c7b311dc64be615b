#pragma once
// Holding the idle logout around work that a logout would break half-way
// (formatting the disks: a logout empties the credentials and every later
// step of the chain would be refused). A timeout that comes due while a
// hold is alive is kept; when the last hold ends, the main window's release
// handler runs, which logs out then if the person has stayed idle. UI
// thread only.

#include <functional>

namespace corvesta {

class IdleLogoutHold {
public:
  IdleLogoutHold();
  ~IdleLogoutHold();
  IdleLogoutHold(const IdleLogoutHold &) = delete;
  IdleLogoutHold &operator=(const IdleLogoutHold &) = delete;
};

bool IdleLogoutHeld();

// Runs when the last hold ends; empty for none. The main window sets it.
void SetIdleHoldReleased(std::function<void()> handler);

} // namespace corvesta
