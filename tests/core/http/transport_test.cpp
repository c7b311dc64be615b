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
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "nas/box_protocol.h"
#include "nas/http/http_transport.h"
#include "nas/protocol_timing.h"
#include "support/temp_folder.h"

using namespace corvesta;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr char kAddress[] = "127.0.0.9";

// The transport's waits as a test sees them: every pause the transport asks
// for is recorded and returns at once (the socket waits inside the transport
// still take their time), and an action may run at each pause: raise the
// stop flag, or let the responder send more. Pauses come from the thread
// that runs the transport only.
class TestWaits : public TransportWaits {
public:
  using PauseAction = std::function<void(TestWaits &waits, std::size_t pause)>;

  explicit TestWaits(PauseAction atPause = nullptr) : m_atPause(std::move(atPause)) {}

  bool StopRequested() const override { return m_stop.load(); }
  bool Pause(std::chrono::microseconds duration) override {
    m_pauses.push_back(duration);
    if (m_atPause) {
      m_atPause(*this, m_pauses.size());
    }
    return !m_stop.load();
  }
  void RequestStop() { m_stop.store(true); }
  const std::vector<std::chrono::microseconds> &Pauses() const { return m_pauses; }

  // From now on every reading of the clock moves it on by `step` from an
  // arbitrary start, so limits fall after a known number of readings.
  void StepClock(std::chrono::microseconds step) { m_clockStep = step; }
  Clock::time_point Now() const override {
    if (m_clockStep.count() == 0) {
      return Clock::now();
    }
    ++m_clockReadings;
    return Clock::time_point{} + m_clockStep * m_clockReadings;
  }
  int ClockReadings() const { return m_clockReadings; }

private:
  std::chrono::microseconds m_clockStep{0};
  mutable int m_clockReadings = 0;
  PauseAction m_atPause;
  std::atomic<bool> m_stop{false};
  std::vector<std::chrono::microseconds> m_pauses;
};

// Raises the stop flag at the given pause.
TestWaits::PauseAction StopAtPause(std::size_t pause) {
  return [pause](TestWaits &waits, std::size_t now) {
    if (now == pause) {
      waits.RequestStop();
    }
  };
}

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
      m_thread = std::jthread([this, script] {
        pollfd entry{m_listener, POLLIN, 0};
        while (!m_over.load()) {
          if (::poll(&entry, 1, 20) <= 0) {
            continue;
          }
          const int connection = ::accept(m_listener, nullptr, nullptr);
          if (connection >= 0) {
            ReadRequest(connection);
            m_connection.store(connection);
            script(connection, m_over);
            m_connection.store(-1);
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
  Responder(const Responder &) = delete;
  Responder &operator=(const Responder &) = delete;
  bool Ready() const { return m_ready; }
  // The accepted connection while its script runs, else -1.
  int Connection() const { return m_connection.load(); }
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
  std::atomic<int> m_connection{-1};
  std::jthread m_thread;
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

// A connected socket that has sent `request`, or none.
UniqueFd ConnectAndSend(TransportWaits &waits, std::string_view request = "GET\r\n\r\n") {
  UniqueFd socket = OpenHttpSocket();
  EXPECT_TRUE(socket);
  const bool sent =
      ConnectWithin(socket.Get(), kAddress, box::kHttpPort, waits) &&
      SendRequest(socket.Get(),
                  std::span(reinterpret_cast<const std::uint8_t *>(request.data()), request.size()),
                  waits);
  EXPECT_TRUE(sent);
  if (!sent) {
    CloseHttpSocket(socket);
  }
  return socket;
}

Received Receive(UniqueFd socket, TransportWaits &waits) {
  Received received{ReceiveEnd::Failed, {}, 0, {}};
  received.end = ReceiveReply(socket.Get(), received.buffer, received.length, waits);
  received.text.assign(reinterpret_cast<const char *>(received.buffer.data()), received.length);
  CloseHttpSocket(socket);
  EXPECT_FALSE(socket);
  return received;
}

Received ConnectAndReceive(TransportWaits &waits, std::string_view request = "GET\r\n\r\n") {
  UniqueFd socket = ConnectAndSend(waits, request);
  if (!socket) {
    return Received{ReceiveEnd::Failed, {}, 0, {}};
  }
  return Receive(std::move(socket), waits);
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
  // Silence counts over the whole receive: 60 timed-out waits before the
  // second piece and 41 after it use up the count, so the piece the box
  // sends at the last pause is never read. A receive that started counting
  // afresh after the second piece would read it.
  timing::ScopedTimeScale fast(0.1);
  const std::size_t second = 60;
  const std::size_t last = timing::kHttpAttempts;
  std::atomic<bool> sent{false};
  Responder responder([&](int connection, const std::atomic<bool> &over) {
    SendText(connection, "HTTP/1.0 200 OK\r\n\r\n<r>");
    sent.store(true);
    Hold(over, 60s);
  });
  ASSERT_TRUE(responder.Ready());
  TestWaits waits([&](TestWaits &, std::size_t pause) {
    if (pause == second) {
      SendText(responder.Connection(), "<a>1</a>");
    } else if (pause == last) {
      SendText(responder.Connection(), "<b>late</b>");
    }
  });
  UniqueFd socket = ConnectAndSend(waits);
  ASSERT_TRUE(socket);
  ASSERT_TRUE(test::WaitUntil([&] { return sent.load(); }, 10s));
  const Received received = Receive(std::move(socket), waits);
  EXPECT_EQ(received.end, ReceiveEnd::Silent);
  EXPECT_EQ(received.text, "HTTP/1.0 200 OK\r\n\r\n<r><a>1</a>");
  EXPECT_EQ(waits.Pauses().size(), last);
}

TEST(HttpTransport, AReplyThatTricklesInEndsAtTheRequestLimit) {
  // The box sends one byte at a time, never pausing long enough for a wait
  // to time out, and would finish only after far more clock readings than
  // the limit allows. Each loop of the receive reads the clock once; the
  // first reading sets the deadline.
  struct Case {
    double scale;
    std::chrono::seconds step;
  };
  const Case cases[] = {{1.0, 1s}, {1.0, 4s}, {0.25, 1s}};
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "scale " << c.scale << ", step " << c.step.count() << "s");
    timing::ScopedTimeScale scale(c.scale);
    const std::string reply(3000, 'x');
    Responder responder([&](int connection, const std::atomic<bool> &over) {
      for (std::size_t at = 0; at < reply.size() && !over.load(); ++at) {
        SendText(connection, std::string_view(reply).substr(at, 1));
        Hold(over, 1ms);
      }
    });
    ASSERT_TRUE(responder.Ready());
    TestWaits waits;
    UniqueFd socket = ConnectAndSend(waits);
    ASSERT_TRUE(socket);
    waits.StepClock(c.step);
    const Received received = Receive(std::move(socket), waits);
    const auto limit = timing::Scaled(timing::kWebRequestLimit);
    const int loops = static_cast<int>(limit / c.step) + (limit % c.step == 0s ? 0 : 1);
    EXPECT_EQ(received.end, ReceiveEnd::Overdue);
    EXPECT_EQ(waits.ClockReadings(), 1 + loops);
    EXPECT_GT(received.length, 0U);
    EXPECT_LT(received.length, reply.size());
    EXPECT_EQ(received.text, reply.substr(0, received.length));
    EXPECT_EQ(received.buffer[received.length], 0);
  }
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
  // Nothing listens: every attempt is refused and followed by a pause, so
  // the connect gives up after its count of attempts, not at the first
  // refusal and not after the long wait of a connect that never completes.
  TestWaits waits;
  UniqueFd socket = OpenHttpSocket();
  ASSERT_TRUE(socket);
  EXPECT_FALSE(ConnectWithin(socket.Get(), kAddress, box::kHttpPort, waits));
  EXPECT_EQ(waits.Pauses(), std::vector<std::chrono::microseconds>(
                                timing::kHttpAttempts, timing::Scaled(timing::kHttpPause)));
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

  // Each wait of the hanging connect times out and is followed by a pause;
  // the stop raised at the third pause ends the connect before another wait.
  const std::size_t stopAt = 3;
  TestWaits waits(StopAtPause(stopAt));
  UniqueFd socket = OpenHttpSocket();
  ASSERT_TRUE(socket);
  EXPECT_FALSE(ConnectWithin(socket.Get(), kAddress, box::kHttpPort, waits));
  EXPECT_EQ(waits.Pauses().size(), stopAt);
  CloseHttpSocket(socket);
}

TEST(HttpTransport, TheStopFlagEndsAReceiveAndKeepsItsText) {
  // The box sends part of a reply and keeps the connection; the stop raised
  // at the second pause of the silence that follows ends the receive at once.
  std::atomic<bool> sent{false};
  Responder responder([&](int connection, const std::atomic<bool> &over) {
    SendText(connection, "HTTP/1.0 200 OK\r\n\r\n<r>partial");
    sent.store(true);
    Hold(over, 60s);
  });
  ASSERT_TRUE(responder.Ready());
  const std::size_t stopAt = 2;
  TestWaits waits(StopAtPause(stopAt));
  UniqueFd socket = ConnectAndSend(waits);
  ASSERT_TRUE(socket);
  ASSERT_TRUE(test::WaitUntil([&] { return sent.load(); }, 10s));
  const Received received = Receive(std::move(socket), waits);
  EXPECT_EQ(received.end, ReceiveEnd::Stopped);
  EXPECT_EQ(received.text, "HTTP/1.0 200 OK\r\n\r\n<r>partial");
  EXPECT_EQ(waits.Pauses().size(), stopAt);
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
