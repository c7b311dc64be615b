#include "ui/platform/ending_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace corvesta {

namespace {

// The socket pair's ends: [0] written by the handler, [1] read by the notifier.
int g_pair[2] = {-1, -1};
std::atomic<int> g_writeEnd{-1};

extern "C" void TakeEndingSignal(int signal) {
  const int saved = errno;
  const int end = g_writeEnd.load(std::memory_order_relaxed);
  if (end >= 0) {
    const auto number = static_cast<unsigned char>(signal);
    // Non-blocking: a full pair already holds an ending to read.
    [[maybe_unused]] const ssize_t written = ::write(end, &number, 1);
  }
  errno = saved;
}

void ClosePair() {
  g_writeEnd.store(-1);
  for (int &fd : g_pair) {
    if (fd >= 0) {
      ::close(fd);
      fd = -1;
    }
  }
}

} // namespace

std::vector<int> ProgramEndingSignals(bool startedFromTerminal) {
  std::vector<int> watched{SIGTERM, SIGHUP};
  if (startedFromTerminal) {
    watched.push_back(SIGINT);
  }
  return watched;
}

bool StartedFromTerminal() {
  return ::isatty(STDIN_FILENO) == 1;
}

EndingSignals::EndingSignals(const std::vector<int> &watched, QObject *parent)
    : QObject(parent), m_signals(watched) {
  if (g_pair[0] >= 0 ||
      ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pair) != 0) {
    return; // another watcher runs, or no pair
  }
  g_writeEnd.store(g_pair[0]);
  struct sigaction action {};
  action.sa_handler = TakeEndingSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : m_signals) {
    if (::sigaction(signal, &action, nullptr) != 0) {
      for (int taken : m_signals) {
        ::signal(taken, SIG_DFL);
      }
      ClosePair();
      return;
    }
  }
  m_notifier = new QSocketNotifier(g_pair[1], QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, [this] { ReadSignals(); });
}

EndingSignals::~EndingSignals() {
  if (m_notifier == nullptr) {
    return;
  }
  for (int signal : m_signals) {
    ::signal(signal, SIG_DFL);
  }
  delete m_notifier;
  ClosePair();
}

void EndingSignals::ReadSignals() {
  unsigned char numbers[16];
  for (;;) {
    const ssize_t count = ::read(g_pair[1], numbers, sizeof numbers);
    if (count <= 0) {
      return; // drained (EAGAIN), or interrupted: the notifier calls again
    }
    for (ssize_t i = 0; i < count; ++i) {
      if (m_received == 0) {
        m_received = numbers[i];
      }
      Q_EMIT ending(numbers[i]);
    }
  }
}

} // namespace corvesta
