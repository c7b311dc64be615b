#include "nas_sim_launcher.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace corvesta::bench {

NasSimLauncher::~NasSimLauncher() {
  Stop();
}

bool NasSimLauncher::InNetns() {
  const char *flag = std::getenv("CORVESTA_IN_NETNS");
  return flag != nullptr && std::string(flag) == "1";
}

bool NasSimLauncher::Start(const std::string &stateJson, std::chrono::milliseconds timeout) {
  Stop();
  char pattern[] = "/tmp/corvesta-bench-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) {
    m_error = "cannot make a temporary folder";
    return false;
  }
  m_folder = pattern;
  const std::string state = m_folder + "/state.json";
  std::ofstream(state) << stateJson;
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
    m_error = "pipe failed";
    return false;
  }
  const std::string program = CORVESTA_NAS_SIM_PATH;
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    m_error = "fork failed";
    return false;
  }
  if (pid == 0) {
    ::dup2(pipeFds[1], STDOUT_FILENO);
    const char *argv[] = {program.c_str(), "--state", state.c_str(), nullptr};
    ::execv(program.c_str(), const_cast<char *const *>(argv));
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  m_pid = pid;
  std::string output;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (output.find("ready\n") == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd entry{pipeFds[0], POLLIN, 0};
    if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
      break;
    }
    char chunk[256];
    const ssize_t got = ::read(pipeFds[0], chunk, sizeof chunk);
    if (got <= 0) {
      break;
    }
    output.append(chunk, static_cast<std::size_t>(got));
  }
  ::close(pipeFds[0]);
  if (output.find("ready\n") == std::string::npos) {
    Stop();
    m_error = "nas-sim did not report ready";
    return false;
  }
  return true;
}

void NasSimLauncher::Stop() {
  if (m_pid > 0) {
    ::kill(m_pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 300 && ::waitpid(m_pid, &status, WNOHANG) == 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (::waitpid(m_pid, &status, WNOHANG) == 0) {
      ::kill(m_pid, SIGKILL);
      ::waitpid(m_pid, &status, 0);
    }
    m_pid = -1;
  }
  if (!m_folder.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
    m_folder.clear();
  }
}

} // namespace corvesta::bench
