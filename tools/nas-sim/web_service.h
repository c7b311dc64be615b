#pragma once
// The boxes' web service on TCP port 80: HTTP/1.0, one request per
// connection, closed after the reply.

#include <map>
#include <memory>
#include <string>

#include "event_loop.h"
#include "sim_box.h"

namespace corvesta::sim {

class Simulator;
struct HttpConnection;

inline constexpr std::uint16_t kWebPort = 80;

class WebService {
public:
  explicit WebService(Simulator &simulator);
  ~WebService();
  WebService(const WebService &) = delete;
  WebService &operator=(const WebService &) = delete;

  // Starts answering at `ip` for the box (again, when it still answers there).
  bool Listen(SimBox &box, const std::string &ip, std::string &error);
  // Stops answering at `ip`, now or after `afterMs`.
  void StopListening(SimBox &box, const std::string &ip, int afterMs);

private:
  void Accept(SimBox &box, int listenFd, const std::string &local);
  void OnEvent(int fd, short revents);
  void ReadRequest(HttpConnection &connection);
  void StartReply(HttpConnection &connection);
  void SendSome(HttpConnection &connection);
  void FinishSending(HttpConnection &connection);
  void Close(int fd);

  Simulator &m_simulator;
  std::map<int, std::unique_ptr<HttpConnection>> m_connections;
};

} // namespace corvesta::sim
