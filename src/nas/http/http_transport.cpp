#include "nas/http/http_transport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "nas/box_protocol.h"
#include "nas/protocol_timing.h"

namespace corvesta {

namespace {

int WaitMilliseconds() {
  const auto wait = timing::Scaled(timing::kHttpWait);
  return static_cast<int>(
      std::max<std::int64_t>(1, std::chrono::ceil<std::chrono::milliseconds>(wait).count()));
}

enum class WaitResult { Ready, Exception, TimedOut, Error };

// One wait for `events` on the socket, at most kHttpWait.
WaitResult WaitFor(int socket, short events) {
  pollfd entry{socket, events, 0};
  int ready = 0;
  do {
    ready = ::poll(&entry, 1, WaitMilliseconds());
  } while (ready < 0 && errno == EINTR);
  if (ready < 0) {
    return WaitResult::Error;
  }
  if (ready == 0) {
    return WaitResult::TimedOut;
  }
  if ((entry.revents & POLLNVAL) != 0) {
    return WaitResult::Error;
  }
  if ((entry.revents & (POLLERR | POLLHUP)) != 0 && (entry.revents & events) == 0) {
    return WaitResult::Exception;
  }
  return WaitResult::Ready;
}

bool SetBlocking(int socket, bool blocking) {
  const int flags = ::fcntl(socket, F_GETFL, 0);
  if (flags < 0) {
    return false;
  }
  const int wanted = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
  return wanted == flags || ::fcntl(socket, F_SETFL, wanted) == 0;
}

// A writable socket after a non-blocking connect is connected only when it
// has a peer; a refused connect also reports writable on this system.
bool HasPeer(int socket) {
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
    return false;
  }
  sockaddr_in peer{};
  socklen_t peerLength = sizeof peer;
  return ::getpeername(socket, reinterpret_cast<sockaddr *>(&peer), &peerLength) == 0;
}

bool PauseAfterTimeout(TransportWaits &waits) {
  return waits.Pause(timing::Scaled(timing::kHttpPause));
}

bool ConnectNonBlocking(int socket, const sockaddr_in &target, TransportWaits &waits) {
  int started = 0;
  do {
    started = ::connect(socket, reinterpret_cast<const sockaddr *>(&target), sizeof target);
  } while (started != 0 && errno == EINTR);
  if (started == 0) {
    return true;
  }
  // Whatever the connect reported (in progress, or refused at once on
  // loopback), the waits below decide: a refusal shows as an exception in
  // each of them.
  for (int attempt = 0; attempt < timing::kHttpAttempts;) {
    if (waits.StopRequested()) {
      return false;
    }
    switch (WaitFor(socket, POLLOUT)) {
    case WaitResult::Ready:
      if (HasPeer(socket)) {
        return true;
      }
      [[fallthrough]];
    case WaitResult::Exception:
    case WaitResult::TimedOut:
      ++attempt;
      PauseAfterTimeout(waits);
      break;
    case WaitResult::Error:
      return false;
    }
  }
  return false;
}

} // namespace

UniqueFd OpenHttpSocket() {
  UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!socket) {
    return socket;
  }
  const int reuse = 1;
  if (::setsockopt(socket.Get(), SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse) != 0) {
    return UniqueFd(); // closes the socket
  }
  return socket;
}

void CloseHttpSocket(UniqueFd &socket) {
  if (!socket) {
    return;
  }
  ::shutdown(socket.Get(), SHUT_RDWR);
  socket.Reset();
}

bool ConnectWithin(int socket, std::string_view address, std::uint16_t port,
                   TransportWaits &waits) {
  if (address.empty() || port == 0 || socket < 0) {
    return false;
  }
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(port);
  const std::string text(address);
  if (::inet_pton(AF_INET, text.c_str(), &target.sin_addr) != 1) {
    return false;
  }
  if (!SetBlocking(socket, false)) {
    return false;
  }
  const bool connected = ConnectNonBlocking(socket, target, waits);
  const bool blockingAgain = SetBlocking(socket, true);
  return connected && blockingAgain;
}

bool SendRequest(int socket, std::span<const std::uint8_t> request, TransportWaits &waits) {
  for (int attempt = 0; attempt < timing::kHttpAttempts;) {
    if (waits.StopRequested()) {
      return false;
    }
    switch (WaitFor(socket, POLLOUT)) {
    case WaitResult::Ready:
    case WaitResult::Exception: {
      // One call with the whole request; an error socket fails it.
      ssize_t sent = 0;
      do {
        sent = ::send(socket, request.data(), request.size(), MSG_NOSIGNAL);
      } while (sent < 0 && errno == EINTR);
      return sent >= 0 && static_cast<std::size_t>(sent) == request.size();
    }
    case WaitResult::TimedOut:
      ++attempt;
      PauseAfterTimeout(waits);
      break;
    case WaitResult::Error:
      return false;
    }
  }
  return false;
}

ReceiveEnd ReceiveReply(int socket, std::vector<std::uint8_t> &buffer, std::size_t &length,
                        TransportWaits &waits) {
  if (buffer.empty()) {
    buffer.assign(box::kReplyBufferSize, 0);
  }
  length = 0;
  std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
  const std::size_t room = buffer.size() - 1; // the last byte stays a terminator
  // A box that trickles its reply never lets the silence add up: the
  // receive as a whole has a limit of its own.
  const auto deadline = waits.Now() + timing::Scaled(timing::kWebRequestLimit);
  int timedOut = 0;
  while (timedOut < timing::kHttpAttempts) {
    if (waits.StopRequested()) {
      return ReceiveEnd::Stopped;
    }
    if (waits.Now() >= deadline) {
      return ReceiveEnd::Overdue;
    }
    switch (WaitFor(socket, POLLIN)) {
    case WaitResult::TimedOut:
      ++timedOut;
      PauseAfterTimeout(waits);
      continue;
    case WaitResult::Error:
      return ReceiveEnd::Failed;
    case WaitResult::Ready:
    case WaitResult::Exception:
      break;
    }
    ssize_t received = 0;
    do {
      received = ::recv(socket, buffer.data() + length, room - length, 0);
    } while (received < 0 && errno == EINTR);
    if (received == 0) {
      return ReceiveEnd::Closed;
    }
    if (received < 0) {
      return ReceiveEnd::Failed;
    }
    length += static_cast<std::size_t>(received);
    if (length >= room) {
      return ReceiveEnd::Full;
    }
  }
  return ReceiveEnd::Silent;
}

} // namespace corvesta
