#pragma once
// The TCP side of one web request: a socket, a connect with a time limit,
// one send, and a receive that reads until the box closes, the buffer is
// full, the silence adds up or the request's time is up. Every loop tests the stop flag before each
// of its waits; no single wait lasts longer than the HTTP wait of
// protocol_timing.h, so a stop is noticed within about one wait and a pause.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/unique_fd.h"

namespace corvesta {

// Where the loops take their stop flag and their pauses from: the query's
// worker thread, or a test.
class TransportWaits {
public:
  virtual ~TransportWaits() = default;
  virtual bool StopRequested() const = 0;
  // Pauses, cut short by a stop; false when stopped.
  virtual bool Pause(std::chrono::microseconds duration) = 0;
  // The clock the receive measures its overall limit with.
  virtual std::chrono::steady_clock::time_point Now() const {
    return std::chrono::steady_clock::now();
  }
};

// A TCP stream socket with address reuse, or none.
UniqueFd OpenHttpSocket();

// Shuts the socket down in both directions and closes it; none afterwards.
void CloseHttpSocket(UniqueFd &socket);

// Connects to address:port. Up to kHttpAttempts counted attempts, each a wait
// of at most kHttpWait for the socket to become writable; a wait that ends
// without a connection (nothing yet, or the connection refused) is followed
// by kHttpPause and counted. False when the address is empty or not a dotted
// quad, the port is 0, the socket is -1, the attempts run out, or the stop
// flag is set. The socket is blocking again afterwards in every case.
bool ConnectWithin(int socket, std::string_view address, std::uint16_t port, TransportWaits &waits);

// Waits (up to kHttpAttempts times kHttpWait, with kHttpPause after each
// wait that timed out) until the socket is writable and sends the whole
// request with one call. True only when that call took every byte.
bool SendRequest(int socket, std::span<const std::uint8_t> request, TransportWaits &waits);

enum class ReceiveEnd {
  Closed,  // the box closed the connection
  Full,    // the buffer is full; the rest of the reply is not read
  Silent,  // kHttpAttempts waits timed out, counted over the whole receive
  Stopped, // the stop flag was set
  Overdue, // the reply was still coming in when kWebRequestLimit ran out
  Failed,  // the wait or the receive reported an error
};

// Receives into `buffer` (made kReplyBufferSize bytes and zeroed when empty)
// at `length` onwards, keeping the last byte free so that the text always
// ends with a zero. `length` is the number of bytes received. However slowly
// the box sends, the receive ends once kWebRequestLimit (scaled) has passed
// since it began. Every end but Failed leaves a terminated text; after
// Overdue it is a reply cut short.
ReceiveEnd ReceiveReply(int socket, std::vector<std::uint8_t> &buffer, std::size_t &length,
                        TransportWaits &waits);

} // namespace corvesta
