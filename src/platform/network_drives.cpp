#include "platform/network_drives.h"

#include <algorithm>
#include <atomic>

namespace corvesta {
namespace {

std::mutex g_serviceLock;
std::shared_ptr<NetworkDrives> g_service;
std::atomic<double> g_timeScale{1.0};

std::string LetterText(char letter) {
  return std::string(1, letter) + ":";
}

} // namespace

std::chrono::milliseconds DriveCallLimit() {
  const double scaled = static_cast<double>(kDriveCallLimit.count()) * g_timeScale.load();
  return std::chrono::milliseconds(std::max<std::int64_t>(1, static_cast<std::int64_t>(scaled)));
}

void SetDriveTimeScaleForTests(double factor) {
  if (factor > 0) {
    g_timeScale.store(factor);
  }
}

bool IsDriveLetter(char letter) {
  return letter >= 'A' && letter <= 'Z';
}

std::shared_ptr<NetworkDrives> SetNetworkDrives(std::shared_ptr<NetworkDrives> service) {
  std::lock_guard guard(g_serviceLock);
  std::shared_ptr<NetworkDrives> previous = std::move(g_service);
  g_service = std::move(service);
  return previous;
}

std::shared_ptr<NetworkDrives> CurrentNetworkDrives() {
  std::lock_guard guard(g_serviceLock);
  return g_service;
}

std::vector<DriveMapping> NetworkDrivesRecorder::SortedMappings() const {
  std::vector<DriveMapping> mappings = m_mappings;
  std::sort(mappings.begin(), mappings.end(),
            [](const DriveMapping &a, const DriveMapping &b) { return a.letter < b.letter; });
  return mappings;
}

DriveResult NetworkDrivesRecorder::List(std::vector<DriveMapping> &mappings) {
  std::lock_guard guard(m_lock);
  ++m_listCalls;
  mappings = SortedMappings();
  return m_recordsResult;
}

void NetworkDrivesRecorder::SetRecordsResult(DriveResult result) {
  std::lock_guard guard(m_lock);
  m_recordsResult = std::move(result);
}

std::vector<DriveMapping> NetworkDrivesRecorder::Records() {
  std::lock_guard guard(m_lock);
  std::vector<DriveMapping> mappings = SortedMappings();
  for (DriveMapping &mapping : mappings) {
    mapping.connected = false;
    mapping.folder.clear();
  }
  return mappings;
}

int NetworkDrivesRecorder::ListCalls() const {
  std::lock_guard guard(m_lock);
  return m_listCalls;
}

std::string NetworkDrivesRecorder::LettersInUse() {
  std::lock_guard guard(m_lock);
  std::string letters = m_foreign;
  for (const DriveMapping &mapping : m_mappings) {
    letters.push_back(mapping.letter);
  }
  std::sort(letters.begin(), letters.end());
  letters.erase(std::unique(letters.begin(), letters.end()), letters.end());
  return letters;
}

bool NetworkDrivesRecorder::WaitWhileHeld(std::unique_lock<std::mutex> &guard,
                                          std::stop_token &stop) {
  ++m_waiting;
  const bool released = m_release.wait(guard, stop, [this] { return !m_held; });
  --m_waiting;
  return released;
}

DriveResult NetworkDrivesRecorder::NextScripted() {
  if (m_script.empty()) {
    return {};
  }
  DriveResult result = m_script.front();
  m_script.pop_front();
  return result;
}

DriveResult NetworkDrivesRecorder::Map(const DriveMapRequest &request, std::stop_token stop) {
  std::unique_lock guard(m_lock);
  m_calls.push_back("map " + (request.letter == 0 ? "auto" : LetterText(request.letter)) + " " +
                    request.server + " " + request.share + " " + request.user + " " +
                    request.password + " " + (request.remember ? "remember" : "session"));
  if (!WaitWhileHeld(guard, stop)) {
    return {DriveCause::Cancelled, {}};
  }
  DriveResult result = NextScripted();
  if (!result.Ok()) {
    return result;
  }
  const auto taken = [&](char letter) {
    return m_foreign.find(letter) != std::string::npos ||
           std::any_of(m_mappings.begin(), m_mappings.end(),
                       [&](const DriveMapping &m) { return m.letter == letter; });
  };
  char letter = request.letter;
  for (char candidate = 'Z'; candidate >= 'A' && letter == 0; --candidate) {
    letter = taken(candidate) ? 0 : candidate;
  }
  if (request.letter == 0 && letter == 0) {
    return {DriveCause::LetterInUse, {}};
  }
  if (!IsDriveLetter(letter)) {
    return {DriveCause::BadValue, {}};
  }
  if (taken(letter)) {
    return {DriveCause::LetterInUse, {}};
  }
  for (const DriveMapping &m : m_mappings) {
    if (m.server == request.server && m.share == request.share) {
      return {DriveCause::ShareOnOtherLetter, {}};
    }
  }
  DriveMapping mapping;
  mapping.letter = letter;
  mapping.server = request.server;
  mapping.share = request.share;
  mapping.user = request.user;
  mapping.box = request.box;
  mapping.remembered = request.remember;
  mapping.connected = true;
  m_mappings.push_back(mapping);
  result.letter = letter;
  return result;
}

DriveResult NetworkDrivesRecorder::Unmap(char letter, std::stop_token stop) {
  std::unique_lock guard(m_lock);
  m_calls.push_back("unmap " + LetterText(letter));
  if (!WaitWhileHeld(guard, stop)) {
    return {DriveCause::Cancelled, {}};
  }
  DriveResult result = NextScripted();
  if (!result.Ok()) {
    return result;
  }
  const auto found = std::find_if(m_mappings.begin(), m_mappings.end(),
                                  [&](const DriveMapping &m) { return m.letter == letter; });
  if (found == m_mappings.end()) {
    return {DriveCause::NotMapped, {}};
  }
  m_mappings.erase(found);
  return result;
}

DriveResult NetworkDrivesRecorder::Reconnect(const DriveMapping &mapping, const DriveLogin &login,
                                             std::stop_token stop) {
  std::unique_lock guard(m_lock);
  m_calls.push_back("reconnect " + LetterText(mapping.letter) + " " +
                    (login.given ? login.user : std::string("-")));
  if (!WaitWhileHeld(guard, stop)) {
    return {DriveCause::Cancelled, {}};
  }
  DriveResult result = NextScripted();
  if (!result.Ok()) {
    return result;
  }
  for (DriveMapping &m : m_mappings) {
    if (m.letter == mapping.letter) {
      m.connected = true;
      return result;
    }
  }
  return {DriveCause::NotMapped, {}};
}

void NetworkDrivesRecorder::AddMapping(const DriveMapping &mapping) {
  std::lock_guard guard(m_lock);
  m_mappings.push_back(mapping);
}

void NetworkDrivesRecorder::AddForeignLetter(char letter) {
  std::lock_guard guard(m_lock);
  m_foreign.push_back(letter);
}

void NetworkDrivesRecorder::ScriptResult(DriveResult result) {
  std::lock_guard guard(m_lock);
  m_script.push_back(std::move(result));
}

void NetworkDrivesRecorder::Hold(bool held) {
  {
    std::lock_guard guard(m_lock);
    m_held = held;
  }
  m_release.notify_all();
}

bool NetworkDrivesRecorder::Waiting() const {
  std::lock_guard guard(m_lock);
  return m_waiting > 0;
}

std::vector<std::string> NetworkDrivesRecorder::Calls() const {
  std::lock_guard guard(m_lock);
  return m_calls;
}

ScopedNetworkDrivesRecorder::ScopedNetworkDrivesRecorder()
    : m_recorder(std::make_shared<NetworkDrivesRecorder>()),
      m_previous(SetNetworkDrives(m_recorder)) {}

ScopedNetworkDrivesRecorder::~ScopedNetworkDrivesRecorder() {
  SetNetworkDrives(m_previous);
}

} // namespace corvesta
