#pragma once
// A second network namespace for tests that need more than loopback: a
// holder process sits in a fresh namespace; veth pairs link it to the test's
// own namespace. Everything made inside vanishes with the holder.

#include <sys/types.h>

#include <functional>
#include <string>

namespace corvesta::test {

// Runs a shell command in the test's own namespace; true on exit status 0.
bool Shell(const std::string &command);

class PeerNamespace {
public:
  PeerNamespace();
  ~PeerNamespace();
  PeerNamespace(const PeerNamespace &) = delete;
  PeerNamespace &operator=(const PeerNamespace &) = delete;

  bool Valid() const { return m_pid > 0; }
  pid_t Pid() const { return m_pid; }

  // Runs a shell command inside the namespace; true on exit status 0.
  bool Run(const std::string &command) const;

  // Runs `task` on a thread that has entered the namespace: sockets and
  // processes it makes live there. False when the namespace cannot be entered.
  bool RunInside(const std::function<void()> &task) const;

private:
  pid_t m_pid = -1;
};

} // namespace corvesta::test
