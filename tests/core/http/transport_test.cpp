// The transport's own mechanics against a small scripted responder on
// loopback: joined segments, the accumulated silence limit, a full buffer,
// refused connections and the stop flag. Runs inside a network namespace.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "nas/box_protocol.h"
#include "nas/http/http_transport.h"
#include "nas/protocol_timing.h"

using namespace corvesta;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr char kAddress[] = "127.0.0.9";

class TestWaits : public TransportWaits {
public:
  bool StopRequested() const override { return m_stop.load(); }
  bool Pause(std::chrono::microseconds duration) override {
    std::unique_lock guard(m_lock);
    m_wake.wait_for(guard, duration, [this] { return m_stop.load(); });
    return !m_stop.load();
  }
  void RequestStop() {
    {
      std::lock_guard guard(m_lock);
      m_stop.store(true);
    }
    m_wake.notify_all();
  }

private:
  std::atomic<bool> m_stop{false};
  std::mutex m_lock;
  std::condition_variable m_wake;
};

// Listens on kAddress:80 and runs `script` on the first accepted connection
// in a thread of its own. The script sees a flag that is set when the test
// is over, so it never outlives the test.
class Responder {
public:
  using Script = std::function<void(int connection, const std::atomic<bool> &over)>;

  explicit Responder(Script script, int backlog = 4) {
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int reuse = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(box::kHttpPort);
    ::inet_pton(AF_INET, kAddress, &address.sin_addr);
    m_ready = ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
              ::listen(m_listener, backlog) == 0;
    if (m_ready && script) {
      m_thread = std::thread([this, script] {
        pollfd entry{m_listener, POLLIN, 0};
        while (!m_over.load()) {
          if (::poll(&entry, 1, 20) <= 0) {
            continue;
          }
          const int connection = ::accept(m_listener, nullptr, nullptr);
          if (connection >= 0) {
            ReadRequest(connection);
            script(connection, m_over);
            ::close(connection);
          }
          return;
        }
      });
    }
  }
  ~Responder() {
    m_over.store(true);
    if (m_thread.joinable()) {
      m_thread.join();
    }
    ::close(m_listener);
  }
  bool Ready() const { return m_ready; }
  // What the responder read before its script ran: up to the blank line.
  std::string Request() const {
    std::lock_guard guard(m_lock);
    return m_request;
  }

private:
  // Reads the request so that closing the connection afterwards is a clean
  // close, not a reset.
  void ReadRequest(int connection) {
    std::string request;
    char chunk[2048];
    while (!m_over.load() && request.find("\r\n\r\n") == std::string::npos) {
      pollfd entry{connection, POLLIN, 0};
      if (::poll(&entry, 1, 20) <= 0) {
        continue;
      }
      const ssize_t got = ::recv(connection, chunk, sizeof chunk, 0);
      if (got <= 0) {
        break;
      }
      request.append(chunk, static_cast<std::size_t>(got));
    }
    std::lock_guard guard(m_lock);
    m_request = request;
  }

  mutable std::mutex m_lock;
  std::string m_request;
  int m_listener = -1;
  bool m_ready = false;
  std::atomic<bool> m_over{false};
  std::thread m_thread;
};

void SendText(int connection, std::string_view text) {
  ::send(connection, text.data(), text.size(), MSG_NOSIGNAL);
}

// Sleeps for `duration` unless the test is over first.
void Hold(const std::atomic<bool> &over, std::chrono::milliseconds duration) {
  const auto end = Clock::now() + duration;
  while (!over.load() && Clock::now() < end) {
    std::this_thread::sleep_for(2ms);
  }
}

struct Received {
  ReceiveEnd end;
  std::string text;
  std::size_t length;
  std::vector<std::uint8_t> buffer;
};

Received ConnectAndReceive(TransportWaits &waits, std::string_view request = "GET\r\n\r\n") {
  UniqueFd socket = OpenHttpSocket();
  EXPECT_TRUE(socket);
  EXPECT_TRUE(ConnectWithin(socket.Get(), kAddress, box::kHttpPort, waits));
  EXPECT_TRUE(SendRequest(
      socket.Get(),
      std::span(reinterpret_cast<const std::uint8_t *>(request.data()), request.size()), waits));
  Received received{ReceiveEnd::Failed, {}, 0, {}};
  received.end = ReceiveReply(socket.Get(), received.buffer, received.length, waits);
  received.text.assign(reinterpret_cast<const char *>(received.buffer.data()), received.length);
  CloseHttpSocket(socket);
  EXPECT_FALSE(socket);
  return received;
}

TEST(HttpTransport, AReplyInManySegmentsIsJoinedInOrder) {
  std::string reply = "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n<r>";
  for (int i = 0; i < 200; ++i) {
    reply += "<i>" + std::to_string(i) + "</i>";
  }
  reply += "</r>";
  Responder responder([&](int connection, const std::atomic<bool> &over) {
    for (std::size_t at = 0; at < reply.size(); at += 7) {
      SendText(connection, std::string_view(reply).substr(at, 7));
      if (at % 70 == 0) {
        Hold(over, 1ms);
      }
    }
  });
  ASSERT_TRUE(responder.Ready());
  TestWaits waits;
  const Received received = ConnectAndReceive(waits);
  EXPECT_EQ(received.end, ReceiveEnd::Closed);
  EXPECT_EQ(received.text, reply);
  EXPECT_EQ(received.buffer.size(), box::kReplyBufferSize);
}

TEST(HttpTransport, ABoxThatKeepsTheConnectionIsReadUntilTheSilenceAddsUp) {
  // Silence counts over the whole receive: 60 waits before the second
  // piece and 41 after it end the receive long before the third piece.
  timing::ScopedTimeScale fast(0.1);
  const auto unit = timing::Scaled(timing::kHttpWait) + timing::Scaled(timing::kHttpPause);
  const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(unit * 60);
  Responder responder([&](int connection, const std::atomic<bool> &over) {
    SendText(connection, "HTTP/1.0 200 OK\r\n\r\n<r>");
    Hold(over, gap);
    SendText(connection, "<a>1</a>");
    Hold(over, gap * 3);
    SendText(connection, "<b>late</b>");
    Hold(over, 20s);
  });
  ASSERT_TRUE(responder.Ready());
  TestWaits waits;
  const Received received = ConnectAndReceive(waits);
  EXPECT_EQ(received.end, ReceiveEnd::Silent);
  EXPECT_EQ(received.text, "HTTP/1.0 200 OK\r\n\r\n<r><a>1</a>");
}

TEST(HttpTransport, AnOversizedReplyFillsTheBufferAndStaysTerminated) {
  const std::string reply = "HTTP/1.0 200 OK\r\n\r\n<r>" + std::string(10000, 'x') + "</r>";
  Responder responder([&](int connection, const std::atomic<bool> &over) {
    SendText(connection, reply);
    Hold(over, 20s); // keeps the connection: the full buffer ends the receive
  });
  ASSERT_TRUE(responder.Ready());
  TestWaits waits;
  const Received received = ConnectAndReceive(waits);
  EXPECT_EQ(received.end, ReceiveEnd::Full);
  ASSERT_EQ(received.length, box::kReplyBufferSize - 1);
  EXPECT_EQ(received.text, reply.substr(0, box::kReplyBufferSize - 1));
  EXPECT_EQ(received.buffer.back(), 0);
}

TEST(HttpTransport, ARefusedConnectionFailsAfterItsAttempts) {
  TestWaits waits;
  UniqueFd socket = OpenHttpSocket();
  ASSERT_TRUE(socket);
  const auto start = Clock::now();
  EXPECT_FALSE(ConnectWithin(socket.Get(), kAddress, box::kHttpPort, waits));
  const auto took = Clock::now() - start;
  // 101 refusals, each followed by a 10 ms pause: about one second, far
  // below the eight seconds of a connect that never completes.
  EXPECT_GE(took, 900ms);
  EXPECT_LT(took, 5s);
  CloseHttpSocket(socket);
}

TEST(HttpTransport, BadTargetsFailAtOnce) {
  TestWaits waits;
  UniqueFd socket = OpenHttpSocket();
  ASSERT_TRUE(socket);
  EXPECT_FALSE(ConnectWithin(socket.Get(), "", box::kHttpPort, waits));
  EXPECT_FALSE(ConnectWithin(socket.Get(), "127.0.0.9", 0, waits));
  EXPECT_FALSE(ConnectWithin(socket.Get(), "box.local", box::kHttpPort, waits));
  EXPECT_FALSE(ConnectWithin(-1, kAddress, box::kHttpPort, waits));
  CloseHttpSocket(socket);
}

TEST(HttpTransport, TheStopFlagEndsAConnectThatHangs) {
  // A listener that never accepts, with its queue filled: further
  // connection requests go unanswered and the connect hangs.
  Responder responder(nullptr, 0);
  ASSERT_TRUE(responder.Ready());
  std::vector<UniqueFd> fillers;
  TestWaits fillerWaits;
  for (int i = 0; i < 4; ++i) {
    UniqueFd filler = OpenHttpSocket();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(box::kHttpPort);
    ::inet_pton(AF_INET, kAddress, &address.sin_addr);
    ::fcntl(filler.Get(), F_SETFL, O_NONBLOCK);
    ::connect(filler.Get(), reinterpret_cast<sockaddr *>(&address), sizeof address);
    fillers.push_back(std::move(filler));
  }
  std::this_thread::sleep_for(50ms);

  TestWaits waits;
  UniqueFd socket = OpenHttpSocket();
  std::atomic<bool> done{false};
  Clock::time_point ended;
  bool connected = true;
  std::thread connecting([&] {
    connected = ConnectWithin(socket.Get(), kAddress, box::kHttpPort, waits);
    ended = Clock::now();
    done.store(true);
  });
  std::this_thread::sleep_for(300ms);
  ASSERT_FALSE(done.load()) << "the connect did not hang";
  const auto stopped = Clock::now();
  waits.RequestStop();
  connecting.join();
  EXPECT_FALSE(connected);
  EXPECT_LT(ended - stopped, 500ms); // one wait and one pause: about 80 ms
  CloseHttpSocket(socket);
}

TEST(HttpTransport, TheStopFlagEndsAReceiveAndKeepsItsText) {
  Responder responder([&](int connection, const std::atomic<bool> &over) {
    SendText(connection, "HTTP/1.0 200 OK\r\n\r\n<r>partial");
    Hold(over, 20s);
  });
  ASSERT_TRUE(responder.Ready());
  TestWaits waits;
  Clock::time_point stopped;
  std::thread stopper([&] {
    std::this_thread::sleep_for(300ms);
    stopped = Clock::now();
    waits.RequestStop();
  });
  const Received received = ConnectAndReceive(waits);
  const auto ended = Clock::now();
  stopper.join();
  EXPECT_EQ(received.end, ReceiveEnd::Stopped);
  EXPECT_EQ(received.text, "HTTP/1.0 200 OK\r\n\r\n<r>partial");
  EXPECT_LT(ended - stopped, 500ms);
}

TEST(HttpTransport, SendTakesTheWholeRequestInOneCall) {
  Responder responder([&](int connection, const std::atomic<bool> &) {
    SendText(connection, "HTTP/1.0 200 OK\r\n\r\n<r/>");
  });
  ASSERT_TRUE(responder.Ready());
  const std::string request = std::string(1019, 'q') + "\r\n\r\n";
  TestWaits waits;
  const Received received = ConnectAndReceive(waits, request);
  EXPECT_EQ(received.end, ReceiveEnd::Closed);
  EXPECT_EQ(received.text, "HTTP/1.0 200 OK\r\n\r\n<r/>");
  EXPECT_EQ(responder.Request(), request);
}

} // namespace
