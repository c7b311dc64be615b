#pragma once
// The set-IP dialog: DHCP or a static address, mask and gateway for a box
// outside this PC's subnet, sent by datagram. It ends with OK once the box
// has acknowledged (or when DHCP stays DHCP); while the change runs its
// buttons are off and Escape and the window's close do nothing.

#include <cstdint>
#include <memory>

#include "nas/nas_device.h"
#include "setup/address_change_sequence.h"
#include "ui/skin/gdip_dialog.h"

namespace corvesta {

class CGdipButton;
class CGdipIpAddrCtl;
class QtSequenceHost;
struct AddressChoice;

class CSettingIpDialog : public CGdipDialog, private AddressChangeObserver {
  Q_OBJECT
public:
  // The box at `deviceIndex` of the device list; a box that is gone leaves
  // the fields empty and OK reports that nothing could be sent.
  explicit CSettingIpDialog(std::int32_t deviceIndex, QWidget *parent = nullptr);
  ~CSettingIpDialog() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // While the address change runs.
  bool Waiting() const;
  // The outcome of the last address change.
  const AddressChangeOutcome &Outcome() const;

public Q_SLOTS:
  void reject() override;

private:
  void BuildControls();
  void FillFromBox();
  void ChooseDhcp(bool dhcp);
  void ShowAddressFields(bool shown);
  void SetControlsOn(bool on);
  void OnOk();
  // The static address as typed; false when a field was refused (its
  // message has been shown).
  bool ReadStaticChoice(AddressChoice &choice);

  // AddressChangeObserver.
  void OnAddressChangeFinished(const AddressChangeOutcome &outcome) override;

  std::int32_t m_deviceIndex;
  NasDevice m_device{};
  bool m_deviceKnown = false;
  bool m_dhcpChosen = false;
  QtSequenceHost *m_host = nullptr;
  std::unique_ptr<AddressChangeSequence> m_change;
  CGdipButton *m_dhcp = nullptr;
  CGdipButton *m_static = nullptr;
  CGdipIpAddrCtl *m_address = nullptr;
  CGdipIpAddrCtl *m_mask = nullptr;
  CGdipIpAddrCtl *m_gateway = nullptr;
};

} // namespace corvesta
