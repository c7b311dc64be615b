#pragma once
// The volume list alone, as the main window reads it again after a wizard
// run or a formatting: one request, its volumes or the failure text.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "setup/request_sequence.h"
#include "setup/volume_list_reading.h"

namespace corvesta {

// The timer a volume list sequence uses on its host.
inline constexpr int kVolumeListTimerId = 0x4C04;

class VolumeListSequence : public RequestSequence {
public:
  explicit VolumeListSequence(SequenceHost &host, BoxRequests &requests = CoreRequests())
      : RequestSequence(host, kVolumeListTimerId, requests) {}

  // Reads the volume list of the box at `deviceIndex`. False when the
  // request could not be started (Failure() tells what to show).
  bool Start(std::int32_t deviceIndex);

  // Gives the read up where it stands, without a result: Volumes() is
  // empty and the answer, when it comes, is no longer its own.
  void Abandon();

  bool Running() const override { return m_running; }
  // Once ended: the volumes in the box's order, up to the first numbered 0;
  // nothing when the list could not be read.
  const std::optional<std::vector<VolumeUsage>> &Volumes() const { return m_volumes; }
  // The system's English text for a list that could not be read.
  std::u16string_view Failure() const;

protected:
  void OnQueryResult(WPARAM result, std::unique_ptr<CQuery> query) override;
  void OnUnanswered() override;

private:
  bool m_running = false;
  VolumeListReading m_reading;
  std::optional<std::vector<VolumeUsage>> m_volumes;
};

} // namespace corvesta
