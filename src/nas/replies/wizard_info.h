#pragma once
// The box's current settings as the wizard reads them: filled by the wizard
// information reply, its address part also by the LAN address reply, and
// read by the wizard pages. One process-wide record; readers get copies.

#include <cstdint>

namespace corvesta {

struct WizardInfo {
  char ip[16] = {};
  char netmask[16] = {};
  char gateway[16] = {};
  std::int32_t dhcp = 0; // 1 when the box uses DHCP
  char dns1[16] = {};
  char dns2[16] = {};
  char name[16] = {};
  char workgroup[16] = {};
  char description[31] = {};
  std::int32_t timezone = 0;
  // The box's name, workgroup or description was longer than its field and
  // is held cut: sent back, it would shorten the box's own text.
  bool identityCut = false;
};

WizardInfo CurrentWizardInfo();
void SetCurrentWizardInfo(const WizardInfo &info);
// Replaces only ip, netmask and gateway.
void SetCurrentWizardAddress(const char (&ip)[16], const char (&netmask)[16],
                             const char (&gateway)[16]);

} // namespace corvesta
