#include "nas/replies/wizard_info.h"

#include <cstring>

#include "worker/guarded_value.h"

namespace corvesta {

namespace {

GuardedValue<WizardInfo> g_current;

} // namespace

WizardInfo CurrentWizardInfo() {
  return g_current.Get();
}

void SetCurrentWizardInfo(const WizardInfo &info) {
  g_current.Set(info);
}

void SetCurrentWizardAddress(const char (&ip)[16], const char (&netmask)[16],
                             const char (&gateway)[16]) {
  g_current.Update([&](WizardInfo &current) {
    std::memcpy(current.ip, ip, sizeof current.ip);
    std::memcpy(current.netmask, netmask, sizeof current.netmask);
    std::memcpy(current.gateway, gateway, sizeof current.gateway);
  });
}

} // namespace corvesta
