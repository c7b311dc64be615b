#pragma once
// Logging out of a box: the logout request when a login is open (its text
// is built at the start, from the current user name), then the current user
// name and password are emptied at once. The answer changes nothing; an owner
// that must not end before the request is out (a program about to exit)
// runs the sequence until it ends, a window need not wait for it.

#include <cstdint>
#include <string_view>

#include "setup/request_sequence.h"

namespace corvesta {

// The timer a logout sequence uses on its host.
inline constexpr int kLogoutTimerId = 0x4C02;

enum class LogoutResult {
  None,        // running, or not started
  NothingSent, // no login was open, or the request could not be started
  Answered,    // the box answered (whatever it said)
  Unanswered,
};

class LogoutSequence : public RequestSequence {
public:
  explicit LogoutSequence(SequenceHost &host, BoxRequests &requests = CoreRequests())
      : RequestSequence(host, kLogoutTimerId, requests) {}

  // Logs out of the box at `deviceIndex` when `loggedIn`; empties the current
  // credentials in every case. True while the answer is awaited.
  bool Start(std::int32_t deviceIndex, bool loggedIn);
  // As Start, with the logout sent to `address` instead of the box's listed
  // address (the address a change gave the box, not yet confirmed). The
  // current credentials are left for a further logout at the old address
  // when `keepCredentials`.
  bool StartAt(std::int32_t deviceIndex, std::string_view address, bool keepCredentials);

  bool Running() const override { return m_running; }
  LogoutResult Result() const { return m_result; }

protected:
  void OnQueryResult(WPARAM result, std::unique_ptr<CQuery> query) override;
  void OnUnanswered() override;

private:
  bool m_running = false;
  LogoutResult m_result = LogoutResult::None;
};

} // namespace corvesta
