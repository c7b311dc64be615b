#include "web_service.h"

#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "http_message.h"
#include "ipv4_text.h"
#include "simulator.h"
#include "socket_util.h"
#include "web_requests.h"

namespace corvesta::sim {

namespace {
constexpr std::chrono::milliseconds kRequestTimeout{10000};  // a request must arrive within this
constexpr std::chrono::milliseconds kLingerAfterReply{2000}; // wait this long for the peer to close
} // namespace

struct HttpConnection {
  enum class Phase { kReading, kWaiting, kSending, kLingering };
  int fd = -1;
  SimBox *box = nullptr;
  std::string peer;   // "address:port"
  std::string peerIp; // "address"
  std::string local;
  std::string received;
  bool logged = false;
  Phase phase = Phase::kReading;
  std::string out;
  std::size_t sent = 0;
  HttpFault fault;
  EventLoop::TimerId timer = 0;
};

WebService::WebService(Simulator &simulator) : m_simulator(simulator) {}

WebService::~WebService() {
  for (const auto &entry : m_connections) {
    ::close(entry.first);
  }
}

bool WebService::Listen(SimBox &box, const std::string &ip, std::string &error) {
  for (WebListener &listener : box.listeners) {
    if (listener.address == ip) {
      // Still answering there (an old address in its last moments): keep it.
      m_simulator.Loop().Cancel(listener.expiry);
      listener.expiry = 0;
      return true;
    }
  }
  const auto address = ParseIpv4(ip);
  if (!address) {
    error = "\"" + ip + "\" is not an IPv4 address";
    return false;
  }
  UniqueFd fd = OpenTcpListener(*address, kWebPort, error);
  if (!fd.Valid()) {
    return false;
  }
  const int raw = fd.Get();
  SimBox *target = &box;
  const std::string local = ip + ":" + std::to_string(kWebPort);
  m_simulator.Loop().Watch(raw, POLLIN,
                           [this, target, raw, local](short) { Accept(*target, raw, local); });
  box.listeners.push_back(WebListener{ip, std::move(fd), 0});
  return true;
}

void WebService::StopListening(SimBox &box, const std::string &ip, int afterMs) {
  for (auto it = box.listeners.begin(); it != box.listeners.end(); ++it) {
    if (it->address != ip) {
      continue;
    }
    if (afterMs > 0) {
      SimBox *target = &box;
      m_simulator.Loop().Cancel(it->expiry);
      it->expiry = m_simulator.Loop().After(std::chrono::milliseconds(afterMs),
                                            [this, target, ip] { StopListening(*target, ip, 0); });
      return;
    }
    m_simulator.Loop().Cancel(it->expiry);
    m_simulator.Loop().Unwatch(it->fd.Get());
    box.listeners.erase(it);
    return;
  }
}

void WebService::Accept(SimBox &box, int listenFd, const std::string &local) {
  while (true) {
    sockaddr_in peer{};
    socklen_t peerSize = sizeof peer;
    const int fd = ::accept4(listenFd, reinterpret_cast<sockaddr *>(&peer), &peerSize,
                             SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      return;
    }
    auto connection = std::make_unique<HttpConnection>();
    connection->fd = fd;
    connection->box = &box;
    connection->peer = EndpointText(peer);
    connection->peerIp = EndpointAddress(peer);
    connection->local = local;
    connection->timer = m_simulator.Loop().After(kRequestTimeout, [this, fd] { Close(fd); });
    m_connections[fd] = std::move(connection);
    m_simulator.Loop().Watch(fd, POLLIN, [this, fd](short revents) { OnEvent(fd, revents); });
  }
}

void WebService::Close(int fd) {
  const auto it = m_connections.find(fd);
  if (it == m_connections.end()) {
    return;
  }
  HttpConnection &connection = *it->second;
  if (!connection.logged && !connection.received.empty()) {
    // An incomplete request is logged with what arrived.
    m_simulator.Log().Write(connection.box->state.name, "tcp", connection.peer, connection.local,
                            connection.received);
  }
  m_simulator.Loop().Cancel(connection.timer);
  m_simulator.Loop().Unwatch(fd);
  ::close(fd);
  m_connections.erase(it);
}

void WebService::OnEvent(int fd, short revents) {
  const auto it = m_connections.find(fd);
  if (it == m_connections.end()) {
    return;
  }
  HttpConnection &connection = *it->second;
  if ((revents & (POLLERR | POLLNVAL)) != 0) {
    Close(fd);
    return;
  }
  switch (connection.phase) {
  case HttpConnection::Phase::kReading:
    ReadRequest(connection);
    break;
  case HttpConnection::Phase::kSending:
    if ((revents & POLLOUT) != 0) {
      SendSome(connection);
    } else if ((revents & POLLHUP) != 0) {
      Close(fd);
    }
    break;
  case HttpConnection::Phase::kWaiting:
  case HttpConnection::Phase::kLingering: {
    // Only the peer's closing matters now; whatever else it sends is dropped.
    char scratch[4096];
    const ssize_t received = ::recv(fd, scratch, sizeof scratch, 0);
    if (received == 0 || (received < 0 && errno != EAGAIN && errno != EINTR)) {
      Close(fd);
    }
    break;
  }
  }
}

void WebService::ReadRequest(HttpConnection &connection) {
  const int fd = connection.fd;
  char chunk[8192];
  const ssize_t received = ::recv(fd, chunk, sizeof chunk, 0);
  if (received == 0 || (received < 0 && errno != EAGAIN && errno != EINTR)) {
    Close(fd);
    return;
  }
  if (received < 0) {
    return;
  }
  connection.received.append(chunk, static_cast<std::size_t>(received));
  HttpRequest request;
  std::string error;
  const ParseStatus status = ParseHttpRequest(connection.received, request, error);
  if (status == ParseStatus::kIncomplete) {
    return;
  }
  m_simulator.Log().Write(connection.box->state.name, "tcp", connection.peer, connection.local,
                          connection.received);
  connection.logged = true;
  m_simulator.Loop().Cancel(connection.timer);
  connection.timer = 0;

  HttpReply reply;
  if (status == ParseStatus::kBad) {
    std::fprintf(stderr, "nas-sim: box \"%s\": bad request from %s: %s\n",
                 connection.box->state.name.c_str(), connection.peer.c_str(), error.c_str());
    reply.status = 400;
    reply.xml = false;
    reply.contentType = "text/plain";
    reply.body = error + "\n";
  } else {
    reply = HandleWebRequest(m_simulator, *connection.box, request, connection.peerIp);
  }
  connection.fault = HttpFaultFor(connection.box->state.faults, reply.faultKey);
  if (connection.fault.drop) {
    Close(fd);
    return;
  }
  connection.out = ComposeResponse(reply, connection.fault);
  if (connection.fault.segmentBytes > 0) {
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  }
  if (connection.fault.delayMs > 0) {
    connection.phase = HttpConnection::Phase::kWaiting;
    connection.timer =
        m_simulator.Loop().After(std::chrono::milliseconds(connection.fault.delayMs), [this, fd] {
          const auto it = m_connections.find(fd);
          if (it != m_connections.end()) {
            it->second->timer = 0;
            StartReply(*it->second);
          }
        });
    return;
  }
  StartReply(connection);
}

void WebService::StartReply(HttpConnection &connection) {
  connection.phase = HttpConnection::Phase::kSending;
  m_simulator.Loop().SetEvents(connection.fd, POLLOUT);
}

void WebService::SendSome(HttpConnection &connection) {
  const int fd = connection.fd;
  std::size_t size = connection.out.size() - connection.sent;
  const bool pieces = connection.fault.segmentBytes > 0;
  if (pieces) {
    size = std::min(size, static_cast<std::size_t>(connection.fault.segmentBytes));
  }
  const ssize_t sent = ::send(fd, connection.out.data() + connection.sent, size, MSG_NOSIGNAL);
  if (sent < 0) {
    if (errno != EAGAIN && errno != EINTR) {
      Close(fd);
    }
    return;
  }
  connection.sent += static_cast<std::size_t>(sent);
  if (connection.sent >= connection.out.size()) {
    FinishSending(connection);
    return;
  }
  if (pieces && connection.fault.segmentDelayMs > 0) {
    m_simulator.Loop().SetEvents(fd, 0);
    connection.timer = m_simulator.Loop().After(
        std::chrono::milliseconds(connection.fault.segmentDelayMs), [this, fd] {
          const auto it = m_connections.find(fd);
          if (it != m_connections.end()) {
            it->second->timer = 0;
            m_simulator.Loop().SetEvents(fd, POLLOUT);
          }
        });
  }
}

void WebService::FinishSending(HttpConnection &connection) {
  const int fd = connection.fd;
  connection.phase = HttpConnection::Phase::kLingering;
  m_simulator.Loop().SetEvents(fd, POLLIN);
  std::chrono::milliseconds wait = kLingerAfterReply;
  if (connection.fault.keepOpen) {
    wait = std::chrono::milliseconds(connection.fault.keepOpenMs);
  } else {
    // The reply ends where the box closes its side.
    ::shutdown(fd, SHUT_WR);
  }
  connection.timer = m_simulator.Loop().After(wait, [this, fd] { Close(fd); });
}

} // namespace corvesta::sim
