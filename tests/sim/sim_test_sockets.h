#pragma once
// Raw sockets for talking to nas-sim as a client would: datagrams to the
// group and the boxes, and plain HTTP exchanges.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvesta::test {

inline constexpr const char *kClientAddress = "127.0.0.1";

struct Datagram {
  std::string bytes;
  std::string from;     // "address:port"
  bool unicast = false; // arrived at the client's own address rather than the group
};

// Listens like a client adapter at 127.0.0.1: one socket on the group
// 224.0.0.1:13579 and one on 127.0.0.1:13579.
class DatagramClient {
public:
  DatagramClient();
  ~DatagramClient();
  DatagramClient(const DatagramClient &) = delete;
  DatagramClient &operator=(const DatagramClient &) = delete;

  bool Ok() const { return m_group >= 0 && m_unicast >= 0 && m_send >= 0; }
  // Sends from 127.0.0.1 to `address`:13579 (the group by default).
  bool Send(const std::string &bytes, const std::string &address = "224.0.0.1");
  // Everything that arrives within `window`, except the client's own datagrams.
  std::vector<Datagram> Receive(std::chrono::milliseconds window);

private:
  int m_group = -1;
  int m_unicast = -1;
  int m_send = -1;
};

// Ten tag bytes: six given bytes and four zeros.
std::string Tag(std::uint8_t seed);
std::string Probe(const std::string &tag);
std::string CredCheck(const std::string &tag, const std::string &wireId, const std::string &user,
                      const std::string &password);
// An address change carrying a settings block for "LAN1".
std::string SetAddress(const std::string &tag, const std::string &wireId, const std::string &ip,
                       const std::string &mask, const std::string &gateway, bool dhcp);
// Hardware address then IPv4 address, as a box's probe reply carries them.
std::string WireIdOf(const std::string &mac, const std::string &ip);

struct HttpResult {
  std::string reply;
  bool closedByBox = false; // the reply ended because the box closed (not by the time limit)
  int reads = 0;            // receive calls that returned data
};

// A whole HTTP exchange: connects from `from` (any port) to address:80,
// sends `request`, reads until the box closes or `timeout` passes. Nothing
// when the connection fails.
std::optional<HttpResult> HttpExchange(const std::string &address, const std::string &request,
                                       std::chrono::milliseconds timeout = std::chrono::seconds(5),
                                       const std::string &from = kClientAddress);
// The reply text of an exchange, empty when it failed.
std::string HttpReplyText(const std::string &address, const std::string &request,
                          const std::string &from = kClientAddress);
// True when a TCP connection to address:80 is refused.
bool ConnectionRefused(const std::string &address);

// The request a client sends: POST with Basic authorisation "admin:<password>"
// and the user-name cookie.
std::string PostRequest(const std::string &path, const std::string &host, const std::string &user,
                        const std::string &password, const std::string &body);

// The body of a reply (after the blank line), and its status line.
std::string BodyOf(const std::string &reply);
std::string StatusLineOf(const std::string &reply);

} // namespace corvesta::test
