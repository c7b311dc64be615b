#include "nas/replies/wizard_info.h"

#include <cstring>
#include <mutex>

namespace corvesta {

namespace {

std::mutex g_lock;
WizardInfo g_current;

} // namespace

WizardInfo CurrentWizardInfo() {
  std::lock_guard guard(g_lock);
  return g_current;
}

void SetCurrentWizardInfo(const WizardInfo &info) {
  std::lock_guard guard(g_lock);
  g_current = info;
}

void SetCurrentWizardAddress(const char (&ip)[16], const char (&netmask)[16],
                             const char (&gateway)[16]) {
  std::lock_guard guard(g_lock);
  std::memcpy(g_current.ip, ip, sizeof g_current.ip);
  std::memcpy(g_current.netmask, netmask, sizeof g_current.netmask);
  std::memcpy(g_current.gateway, gateway, sizeof g_current.gateway);
}

} // namespace corvesta
