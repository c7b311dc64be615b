// The port probe of a service, against listening sockets of this test in
// its own network namespace: a service that answers the greeting (or hangs
// up on it), a port whose connections the system takes while nobody reads
// them, a closed port.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "platform/tcp_probe.h"
#include "platform/unique_fd.h"

namespace corvesta {
namespace {

using namespace std::chrono_literals;

constexpr char kLoopback[] = "127.0.0.1";
constexpr std::string_view kGreeting = "hello?";

// A listening socket on a free loopback port.
struct Listener {
  UniqueFd fd{::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)};
  std::uint16_t port = 0;

  Listener() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    EXPECT_EQ(::bind(fd.Get(), reinterpret_cast<sockaddr *>(&address), size), 0);
    EXPECT_EQ(::listen(fd.Get(), 4), 0);
    EXPECT_EQ(::getsockname(fd.Get(), reinterpret_cast<sockaddr *>(&address), &size), 0);
    port = ntohs(address.sin_port);
  }
};

TEST(TcpProbe, TellsAServiceThatAnswersFromOneThatOnlyTakesConnections) {
  {
    SCOPED_TRACE("answers the greeting");
    Listener listener;
    std::thread service([&] {
      const UniqueFd peer(::accept(listener.fd.Get(), nullptr, nullptr));
      char buffer[16];
      if (::recv(peer.Get(), buffer, sizeof buffer, 0) > 0) {
        ::send(peer.Get(), "!", 1, MSG_NOSIGNAL);
      }
    });
    EXPECT_EQ(ProbeTcpService(kLoopback, listener.port, 2s, kGreeting), PortProbe::Open);
    service.join();
  }
  {
    SCOPED_TRACE("hangs up on the greeting");
    Listener listener;
    std::thread service([&] { UniqueFd(::accept(listener.fd.Get(), nullptr, nullptr)); });
    EXPECT_EQ(ProbeTcpService(kLoopback, listener.port, 2s, kGreeting), PortProbe::Open);
    service.join();
  }
  {
    SCOPED_TRACE("never reads: the system took the connection");
    Listener listener;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ProbeTcpService(kLoopback, listener.port, 300ms, kGreeting), PortProbe::Mute);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  }
  {
    SCOPED_TRACE("closed port");
    std::uint16_t closed = 0;
    {
      Listener gone;
      closed = gone.port;
    }
    EXPECT_EQ(ProbeTcpService(kLoopback, closed, 2s, kGreeting), PortProbe::Refused);
  }
  EXPECT_EQ(ProbeTcpService("box.local", 445, 2s, kGreeting), PortProbe::NoAddress);
}

} // namespace
} // namespace corvesta
