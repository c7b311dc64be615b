#include "peer_namespace.h"

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace corvesta::test {

bool Shell(const std::string &command) {
  int status = std::system((command + " >/dev/null 2>&1").c_str());
  return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

PeerNamespace::PeerNamespace() {
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) {
    return;
  }
  pid_t pid = fork();
  if (pid == 0) {
    // The holder: a fresh namespace with loopback up, then wait. It ends by
    // itself after a while should the test die without killing it.
    char ok = unshare(CLONE_NEWNET) == 0 ? 1 : 0;
    if (ok) {
      ok = std::system("ip link set lo up >/dev/null 2>&1") == 0 ? 1 : 0;
    }
    (void)!write(ready[1], &ok, 1);
    for (int i = 0; i < 600; ++i) {
      sleep(1);
      if (getppid() == 1) {
        break;
      }
    }
    _exit(0);
  }
  close(ready[1]);
  char ok = 0;
  if (pid > 0 && read(ready[0], &ok, 1) == 1 && ok == 1) {
    m_pid = pid;
  } else if (pid > 0) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  close(ready[0]);
}

PeerNamespace::~PeerNamespace() {
  if (m_pid > 0) {
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
  }
}

bool PeerNamespace::Run(const std::string &command) const {
  if (m_pid <= 0) {
    return false;
  }
  return Shell("nsenter -t " + std::to_string(m_pid) + " -n -- sh -c '" + command + "'");
}

bool PeerNamespace::RunInside(const std::function<void()> &task) const {
  if (m_pid <= 0) {
    return false;
  }
  bool entered = false;
  std::jthread worker([&] {
    int fd = open(("/proc/" + std::to_string(m_pid) + "/ns/net").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      return;
    }
    entered = setns(fd, CLONE_NEWNET) == 0;
    close(fd);
    if (entered) {
      task();
    }
  });
  worker.join();
  return entered;
}

} // namespace corvesta::test
