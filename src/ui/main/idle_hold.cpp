#include "ui/main/idle_hold.h"

namespace corvesta {

namespace {
int g_holds = 0;
std::function<void()> &ReleaseHandler() {
  static std::function<void()> handler;
  return handler;
}
} // namespace

IdleLogoutHold::IdleLogoutHold() {
  ++g_holds;
}

IdleLogoutHold::~IdleLogoutHold() {
  if (--g_holds == 0 && ReleaseHandler()) {
    ReleaseHandler()();
  }
}

bool IdleLogoutHeld() {
  return g_holds > 0;
}

void SetIdleHoldReleased(std::function<void()> handler) {
  ReleaseHandler() = std::move(handler);
}

} // namespace corvesta
