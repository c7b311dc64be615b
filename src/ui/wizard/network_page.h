#pragma once
// The network page: DHCP, or a static address with mask, gateway and two DNS
// servers. The box's settings are read when the page is shown; Next hands
// the confirmed settings to the core's network change (address lock,
// settings, polls of the new address, subnet test, pause, login), which runs
// on the page's timers and reports to the frame's window.

#include <array>
#include <memory>
#include <optional>

#include "setup/network_change.h"
#include "ui/wizard/box_values_page.h"

namespace corvesta {

class CGdipButton;
class CGdipIpAddrCtl;
class CTransStatic;
class QtSequenceHost;
struct NetworkEntry;

class CNetworkPage : public CBoxValuesPage, private NetworkChangeObserver {
  Q_OBJECT
public:
  CNetworkPage();
  ~CNetworkPage() override;

  bool Apply() override;
  void OnPageDestroy() override;
  bool OnFrameMessage(const Message &message) override;

  bool DhcpMode() const { return m_dhcpMode; }
  // The change under way, if any (tests look at its state).
  const NetworkChange *Change() const { return m_change.get(); }
  // The stage the last change reported; nothing before the first change.
  std::optional<NetworkChangeStage> LastStage() const { return m_lastStage; }

protected:
  void LayoutControls() override;
  void ShowBoxValues(const WizardInfo &info) override;
  void EnableFields(bool enabled) override;

private:
  void SetMode(bool dhcp);
  // Reads the fields as the mode wants them; nothing (after the field's
  // own message) when one is refused.
  std::optional<NetworkEntry> ReadEntry();

  // NetworkChangeObserver.
  void OnStage(NetworkChangeStage stage) override;
  void OnNotice(std::u16string_view text) override;
  void OnEnd(const NetworkChangeOutcome &outcome) override;

  CGdipButton *m_dhcp = nullptr;
  CGdipButton *m_static = nullptr;
  std::array<CTransStatic *, 5> m_labels{};
  std::array<CGdipIpAddrCtl *, 5> m_addresses{};
  bool m_dhcpMode = true;
  // The box's values as read when the page was shown on this visit.
  WizardInfo m_boxValues{};

  QtSequenceHost *m_host = nullptr;
  std::unique_ptr<NetworkChange> m_change;
  bool m_starting = false;
  std::optional<NetworkChangeOutcome> m_endedAtStart;
  std::optional<NetworkChangeStage> m_lastStage;
};

} // namespace corvesta
