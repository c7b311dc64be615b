#pragma once
// A new address for a box by datagram, and the box found again afterwards:
// the setting block is sent, the box's acknowledgement awaited, then a
// discovery looks for the box by its hardware address, which the new address
// leaves unchanged. An owner that searches for the boxes itself once the
// change is taken (the main window) ends the sequence at the
// acknowledgement instead.

#include <cstdint>
#include <string_view>

#include "nas/nas_device.h"
#include "nas/udp/adapter_table.h"
#include "nas/udp/ip_setting_block.h"
#include "setup/request_sequence.h"

namespace corvesta {

inline constexpr std::u16string_view kRefreshFailedText = u"Refresh NAS list failed.";
inline constexpr std::u16string_view kSetAddressFailedText =
    u"setting NAS ip failed,please reset NAS ip.";
// What the main window says once the box has taken a new address.
inline constexpr std::u16string_view kAddressTakenText =
    u"Network Storage IP setup successfully, connecting....";

// The timer an address change sequence uses on its host.
inline constexpr int kAddressChangeTimerId = 0x4C03;

enum class AddressChangeResult {
  None,            // running, or not started
  Acknowledged,    // acknowledged; no search was asked for
  Found,           // acknowledged, and the box answered the search
  NotFoundYet,     // acknowledged, but the box did not answer the search
  NotStarted,      // nothing was sent
  NotAcknowledged, // sent, no acknowledgement came
  SearchFailed,    // acknowledged, but the search could not be run
};

struct AddressChangeOutcome {
  AddressChangeResult result = AddressChangeResult::None;
  std::u16string_view message; // the system's English text to show; empty: none
  // Found: the box as the search found it, and the adapters it used.
  std::int32_t deviceIndex = -1;
  NasDevice device;
  AdapterTable adapters;
};

class AddressChangeObserver {
public:
  virtual ~AddressChangeObserver() = default;
  // The box acknowledged its new settings; the search for it starts.
  virtual void OnAcknowledged() {}
  // The end, whatever it is; Running() is false from here on.
  virtual void OnAddressChangeFinished(const AddressChangeOutcome &outcome) = 0;
};

// What follows the box's acknowledgement.
enum class AfterAcknowledgement {
  SearchAgain, // a discovery finds the box at its new address
  End,         // the sequence ends with Acknowledged; the owner searches
};

class AddressChangeSequence : public RequestSequence {
public:
  AddressChangeSequence(SequenceHost &host, AddressChangeObserver &observer,
                        BoxRequests &requests = CoreRequests())
      : RequestSequence(host, kAddressChangeTimerId, requests), m_observer(observer) {}

  // Sends `block` to the box at `deviceIndex`. False when nothing could be
  // sent (OnAddressChangeFinished with NotStarted has been called then).
  bool Start(std::int32_t deviceIndex, const IpSettingBlock &block,
             AfterAcknowledgement after = AfterAcknowledgement::SearchAgain);

  bool Running() const override { return m_step != Step::Idle; }
  const AddressChangeOutcome &Outcome() const { return m_outcome; }

protected:
  void OnSetIpResult(WPARAM result) override;
  void OnQueryResult(WPARAM result, std::unique_ptr<CQuery> query) override;
  void OnUnanswered() override;

private:
  enum class Step { Idle, Sending, Searching };

  void SearchAgain();
  void Finish(AddressChangeResult result, std::u16string_view message = {});

  AddressChangeObserver &m_observer;
  Step m_step = Step::Idle;
  AfterAcknowledgement m_after = AfterAcknowledgement::SearchAgain;
  char m_mac[sizeof NasDevice{}.mac] = {};
  AddressChangeOutcome m_outcome;
};

} // namespace corvesta
