#include "support/nas_sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace corvesta::test {

namespace {

constexpr auto kStopGrace = std::chrono::seconds(3);
constexpr auto kControlTimeout = std::chrono::seconds(5);

std::string ReadWholeFile(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return -1;
}

// The log writes lower-case hexadecimal; anything else ends the bytes.
std::string FromHex(const std::string &hex) {
  std::string bytes;
  bytes.reserve(hex.size() / 2);
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    const int high = HexValue(hex[i]);
    const int low = HexValue(hex[i + 1]);
    if (high < 0 || low < 0) {
      break;
    }
    bytes.push_back(static_cast<char>(high * 16 + low));
  }
  return bytes;
}

int MillisecondsLeft(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  return static_cast<int>(std::max<std::int64_t>(0, left.count()));
}

} // namespace

NasSimProcess::NasSimProcess()
    : m_stateFile(m_folder.Path() / "state.json"), m_logFile(m_folder.Path() / "requests.jsonl"),
      m_controlSocket(m_folder.Path() / "control.sock"),
      m_stderrFile(m_folder.Path() / "stderr.txt") {}

NasSimProcess::~NasSimProcess() {
  Stop();
}

bool NasSimProcess::Start(const nlohmann::json &state, std::chrono::milliseconds timeout) {
  std::string text;
  try {
    text = state.dump(2);
  } catch (const nlohmann::json::exception &e) {
    m_error = std::string("the state cannot be written as JSON: ") + e.what();
    return false;
  }
  return Start(std::string_view(text), timeout);
}

bool NasSimProcess::Start(std::string_view stateJson, std::chrono::milliseconds timeout) {
  std::ofstream out(m_stateFile, std::ios::binary | std::ios::trunc);
  out << stateJson;
  out.close();
  if (!out) {
    m_error = "cannot write " + m_stateFile.string();
    return false;
  }
  return Launch(timeout);
}

bool NasSimProcess::StartWithStateFile(const std::filesystem::path &stateFile,
                                       std::chrono::milliseconds timeout) {
  std::error_code error;
  std::filesystem::copy_file(stateFile, m_stateFile,
                             std::filesystem::copy_options::overwrite_existing, error);
  if (error) {
    m_error = "cannot copy " + stateFile.string() + ": " + error.message();
    return false;
  }
  return Launch(timeout);
}

bool NasSimProcess::Launch(std::chrono::milliseconds timeout) {
  Stop();
  m_error.clear();
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
    m_error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  const std::string program = CORVESTA_NAS_SIM_PATH;
  const std::string state = m_stateFile.string();
  const std::string log = m_logFile.string();
  const std::string control = m_controlSocket.string();
  const std::string errors = m_stderrFile.string();
  const pid_t pid = ::fork();
  if (pid < 0) {
    m_error = std::string("fork: ") + std::strerror(errno);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    return false;
  }
  if (pid == 0) {
    // Child: stdout to the pipe, stderr to a file the parent reads on failure.
    ::dup2(pipeFds[1], STDOUT_FILENO);
    const int errorFd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (errorFd >= 0) {
      ::dup2(errorFd, STDERR_FILENO);
    }
    const char *argv[] = {program.c_str(), "--state",   state.c_str(),   "--log",
                          log.c_str(),     "--control", control.c_str(), nullptr};
    ::execv(program.c_str(), const_cast<char *const *>(argv));
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  m_pid = pid;

  // Wait for the line "ready".
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::string output;
  bool ready = false;
  while (!ready) {
    pollfd waitFor{pipeFds[0], POLLIN, 0};
    const int left = MillisecondsLeft(deadline);
    if (left == 0 || ::poll(&waitFor, 1, left) <= 0) {
      break;
    }
    char chunk[256];
    const ssize_t received = ::read(pipeFds[0], chunk, sizeof chunk);
    if (received <= 0) {
      break; // the process ended
    }
    output.append(chunk, static_cast<std::size_t>(received));
    ready = output.find("ready\n") != std::string::npos;
  }
  ::close(pipeFds[0]);
  if (!ready) {
    Stop();
    m_error = "nas-sim did not report ready: " + ReadWholeFile(m_stderrFile);
    return false;
  }
  return true;
}

void NasSimProcess::Stop() {
  if (m_pid <= 0) {
    return;
  }
  ::kill(m_pid, SIGTERM);
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + kStopGrace;
  pid_t done = 0;
  while ((done = ::waitpid(m_pid, &status, WNOHANG)) == 0 &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (done == 0) {
    ::kill(m_pid, SIGKILL);
    done = ::waitpid(m_pid, &status, 0);
  }
  if (done == m_pid) {
    m_exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }
  m_pid = -1;
}

bool NasSimProcess::Running() {
  if (m_pid <= 0) {
    return false;
  }
  int status = 0;
  if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
    m_exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    m_pid = -1;
    return false;
  }
  return true;
}

std::string NasSimProcess::Stderr() const {
  return ReadWholeFile(m_stderrFile);
}

std::optional<nlohmann::json> NasSimProcess::Control(const nlohmann::json &command) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = m_controlSocket.string();
  if (path.size() >= sizeof address.sun_path) {
    m_error = "control socket path too long";
    return std::nullopt;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
    m_error = std::string("cannot reach the control socket: ") + std::strerror(errno);
    if (fd >= 0) {
      ::close(fd);
    }
    return std::nullopt;
  }
  std::string line;
  try {
    line = command.dump() + "\n";
  } catch (const nlohmann::json::exception &e) {
    m_error = std::string("the command cannot be written as JSON: ") + e.what();
    ::close(fd);
    return std::nullopt;
  }
  if (::send(fd, line.data(), line.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(line.size())) {
    m_error = "cannot send the control command";
    ::close(fd);
    return std::nullopt;
  }
  std::string reply;
  const auto deadline = std::chrono::steady_clock::now() + kControlTimeout;
  while (reply.find('\n') == std::string::npos) {
    pollfd waitFor{fd, POLLIN, 0};
    const int left = MillisecondsLeft(deadline);
    char chunk[4096];
    ssize_t received = 0;
    if (left == 0 || ::poll(&waitFor, 1, left) <= 0 ||
        (received = ::recv(fd, chunk, sizeof chunk, 0)) <= 0) {
      m_error = "no reply on the control socket";
      ::close(fd);
      return std::nullopt;
    }
    reply.append(chunk, static_cast<std::size_t>(received));
  }
  ::close(fd);
  nlohmann::json parsed = nlohmann::json::parse(reply.substr(0, reply.find('\n')), nullptr, false);
  if (parsed.is_discarded() || !parsed.is_object() || !parsed.contains("ok") ||
      !parsed["ok"].is_boolean()) {
    m_error = "the control reply is not a JSON object with \"ok\": " + reply;
    return std::nullopt;
  }
  if (!parsed["ok"].get<bool>()) {
    m_error = parsed.contains("error") && parsed["error"].is_string()
                  ? parsed["error"].get<std::string>()
                  : std::string("command failed");
  }
  return parsed;
}

std::optional<nlohmann::json> NasSimProcess::Box(std::string_view nameOrMac) {
  const auto reply = Control({{"cmd", "box"}, {"box", nameOrMac}});
  if (!reply || !reply->value("ok", false)) {
    return std::nullopt;
  }
  return (*reply)["box"];
}

bool NasSimProcess::Patch(std::string_view nameOrMac, const nlohmann::json &patch) {
  const auto reply = Control({{"cmd", "patch"}, {"box", nameOrMac}, {"patch", patch}});
  return reply && reply->value("ok", false);
}

bool NasSimProcess::SetFaults(std::string_view nameOrMac, const nlohmann::json &faults) {
  const auto reply = Control({{"cmd", "faults"}, {"box", nameOrMac}, {"faults", faults}});
  return reply && reply->value("ok", false);
}

std::vector<SimRequest> NasSimProcess::Requests() const {
  std::vector<SimRequest> requests;
  std::istringstream lines(ReadWholeFile(m_logFile));
  std::string line;
  while (std::getline(lines, line)) {
    const nlohmann::json entry = nlohmann::json::parse(line, nullptr, false);
    if (entry.is_discarded() || !entry.is_object()) {
      continue; // a line still being written
    }
    SimRequest request;
    try {
      request.time = entry.value("time", 0.0);
      request.box = entry.value("box", std::string());
      request.transport = entry.value("transport", std::string());
      request.peer = entry.value("peer", std::string());
      request.local = entry.value("local", std::string());
      request.bytes = FromHex(entry.value("hex", std::string()));
    } catch (const nlohmann::json::exception &) {
      continue; // not a line nas-sim writes
    }
    requests.push_back(std::move(request));
  }
  return requests;
}

std::optional<SimRequest>
NasSimProcess::WaitForRequest(const std::function<bool(const SimRequest &)> &match,
                              std::chrono::milliseconds timeout) const {
  std::optional<SimRequest> found;
  WaitUntil(
      [&] {
        for (const SimRequest &request : Requests()) {
          if (match(request)) {
            found = request;
            return true;
          }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return false;
      },
      timeout);
  return found;
}

nlohmann::json NasSimProcess::MakeBox(const std::string &name, const std::string &ip,
                                      const std::string &mac, const std::string &adminPassword) {
  return {{"name", name},
          {"mac", mac},
          {"ip", ip},
          {"netmask", "255.0.0.0"},
          {"gateway", "127.0.0.1"},
          {"dhcp", false},
          {"accounts",
           nlohmann::json::array(
               {{{"user", "admin"}, {"password", adminPassword}, {"access", "1,1,1,1,1,1"}}})}};
}

nlohmann::json NasSimProcess::MakeState(const std::vector<nlohmann::json> &boxes) {
  return {{"boxes", boxes}};
}

} // namespace corvesta::test
