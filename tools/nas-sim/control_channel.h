#pragma once
// The control channel: a Unix stream socket taking one JSON command per line
// and answering each with one JSON line.

#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "unique_fd.h"

namespace corvesta::sim {

class Simulator;

class ControlChannel {
public:
  explicit ControlChannel(Simulator &simulator) : m_simulator(simulator) {}
  ~ControlChannel();
  ControlChannel(const ControlChannel &) = delete;
  ControlChannel &operator=(const ControlChannel &) = delete;

  bool Open(const std::string &path, std::string &error);

  // Runs one command; always answers with an object that has "ok".
  nlohmann::json Execute(const nlohmann::json &command);

private:
  void Accept();
  void Read(int fd);
  void Close(int fd);

  Simulator &m_simulator;
  std::string m_path;
  UniqueFd m_listener;
  std::map<int, std::string> m_clients; // fd -> text received, not yet a whole line
};

} // namespace corvesta::sim
