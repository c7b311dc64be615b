#include "control_channel.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "box_state.h"
#include "simulator.h"

namespace corvesta::sim {

namespace {
constexpr std::size_t kMaxLineBytes = 1 << 20;

nlohmann::json Failure(const std::string &error) {
  return {{"ok", false}, {"error", error}};
}
} // namespace

ControlChannel::~ControlChannel() {
  for (const auto &client : m_clients) {
    ::close(client.first);
  }
  if (!m_path.empty()) {
    ::unlink(m_path.c_str());
  }
}

bool ControlChannel::Open(const std::string &path, std::string &error) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) {
    error = "the control socket path must have 1 to " +
            std::to_string(sizeof address.sun_path - 1) + " characters";
    return false;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  ::unlink(path.c_str()); // a socket left by an earlier run
  m_listener = UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!m_listener.Valid() ||
      ::bind(m_listener.Get(), reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
      ::listen(m_listener.Get(), 16) != 0) {
    error = "cannot open the control socket " + path + ": " + std::strerror(errno);
    return false;
  }
  m_path = path;
  m_simulator.Loop().Watch(m_listener.Get(), POLLIN, [this](short) { Accept(); });
  return true;
}

void ControlChannel::Accept() {
  while (true) {
    const int fd = ::accept4(m_listener.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      return;
    }
    m_clients[fd];
    m_simulator.Loop().Watch(fd, POLLIN, [this, fd](short) { Read(fd); });
  }
}

void ControlChannel::Close(int fd) {
  m_simulator.Loop().Unwatch(fd);
  m_clients.erase(fd);
  ::close(fd);
}

void ControlChannel::Read(int fd) {
  char chunk[4096];
  const ssize_t received = ::recv(fd, chunk, sizeof chunk, 0);
  if (received == 0 || (received < 0 && errno != EAGAIN && errno != EINTR)) {
    Close(fd);
    return;
  }
  if (received < 0) {
    return;
  }
  std::string &pending = m_clients[fd];
  pending.append(chunk, static_cast<std::size_t>(received));
  std::size_t newline = 0;
  while ((newline = pending.find('\n')) != std::string::npos) {
    const std::string line = pending.substr(0, newline);
    pending.erase(0, newline + 1);
    nlohmann::json reply;
    try {
      reply = Execute(nlohmann::json::parse(line));
    } catch (const nlohmann::json::exception &e) {
      reply = Failure(std::string("the command is not valid JSON: ") + e.what());
    }
    const std::string text =
        reply.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    // Replies are small and the socket is local; a client that does not read
    // them loses its connection rather than stalling the boxes.
    if (::send(fd, text.data(), text.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(text.size())) {
      Close(fd);
      return;
    }
  }
  if (pending.size() > kMaxLineBytes) {
    Close(fd);
  }
}

nlohmann::json ControlChannel::Execute(const nlohmann::json &command) {
  if (!command.is_object() || !command.contains("cmd") || !command["cmd"].is_string()) {
    return Failure("a command is an object with a text \"cmd\"");
  }
  const std::string name = command["cmd"].get<std::string>();
  if (name == "ping") {
    return {{"ok", true}};
  }
  if (name == "state") {
    nlohmann::json boxes = nlohmann::json::array();
    for (const auto &box : m_simulator.Boxes()) {
      boxes.push_back(BoxWithRuntimeToJson(*box));
    }
    return {{"ok", true}, {"boxes", boxes}};
  }
  if (name != "box" && name != "patch" && name != "faults") {
    return Failure("unknown command \"" + name + "\" (ping, state, box, patch, faults)");
  }
  if (!command.contains("box") || !command["box"].is_string()) {
    return Failure("\"" + name + "\" needs \"box\": a box's name or hardware address");
  }
  SimBox *box = m_simulator.FindBox(command["box"].get<std::string>());
  if (box == nullptr) {
    return Failure("no box \"" + command["box"].get<std::string>() + "\"");
  }
  if (name == "box") {
    return {{"ok", true}, {"box", BoxWithRuntimeToJson(*box)}};
  }
  nlohmann::json stored = BoxToJson(box->state);
  if (name == "faults") {
    if (!command.contains("faults")) {
      return Failure("\"faults\" needs \"faults\": the box's new fault switches");
    }
    stored["faults"] = command["faults"];
  } else {
    if (!command.contains("patch") || !command["patch"].is_object()) {
      return Failure("\"patch\" needs \"patch\": an object merged into the box's state");
    }
    stored.merge_patch(command["patch"]);
  }
  std::string error;
  auto updated = BoxFromJson(stored, error);
  if (!updated || !m_simulator.ReplaceState(*box, std::move(*updated), error)) {
    return Failure(error);
  }
  return {{"ok", true}, {"box", BoxWithRuntimeToJson(*box)}};
}

} // namespace corvesta::sim
