#pragma once
// Network drives: a box's share on a drive letter. Every call goes through one
// replaceable service: the program installs the desktop's (GVfs through GIO),
// tests install a NetworkDrivesRecorder. Without a service nothing is mapped
// and Map and Unmap report NoDesktopService.
//
// Letters are the upper-case ASCII letters 'A' to 'Z'. Texts are UTF-8. Every
// call may be made from any thread and ends within DriveCallLimit(); a stop
// request on the token given to Map or Unmap ends it sooner.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace corvesta {

// Why a drive call failed. Each has a text for people (DriveCauseText).
enum class DriveCause : std::uint8_t {
  None,                  // success
  Refused,               // user name or password refused, or access denied
  NoAnswer,              // the box did not answer within the limit
  NoFileSharing,         // the box refuses file sharing connections
  NoSuchShare,           // the box answers but has no such share
  LetterInUse,           // the letter is taken (a mapping, or a foreign ~/Drives entry)
  ShareOnOtherLetter,    // the share is already mapped to another letter
  NoDesktopService,      // no desktop file service for network shares
  Unsupported,           // the desktop's file service cannot take this share's name or address
  UserNameWithSemicolon, // the desktop service would take the user name as a domain
  NotMapped,             // Unmap of a letter that has no mapping
  BadValue,              // a letter outside A-Z, or a text the records cannot hold
  RecordFailed,          // the drive records could not be read or written
  Cancelled,             // stopped by the caller
  Failed,                // any other failure of the desktop service
};

struct DriveResult {
  DriveCause cause = DriveCause::None;
  // For people reading logs and the CLI: a file name, an error code. Never
  // shown instead of the cause's text.
  std::string detail;
  // Map: the letter taken (the one asked for, or the one chosen for 0).
  char letter = 0;

  bool Ok() const { return cause == DriveCause::None; }
};

// One mapped letter, as List reports it.
struct DriveMapping {
  char letter = 0;
  std::string server; // the box's address (or name) the share was mapped through
  std::string share;  // the share's name as the box spells it
  std::string user;
  std::string box; // the box's name, for people
  bool remembered = false;
  bool connected = false;
  std::string folder; // where the share's files are; empty when not connected
};

struct DriveMapRequest {
  char letter = 0;
  std::string server;
  std::string share;
  std::string user;
  std::string password;
  std::string box;
  // Kept over logouts and restored at the next login.
  bool remember = false;
};

// A user name and password to connect with; empty when there is none.
struct DriveLogin {
  std::string user;
  std::string password;
  bool given = false;
};

// The most a Map or Unmap may take (a silent box ties up the desktop's file
// service much longer).
inline constexpr std::chrono::milliseconds kDriveCallLimit{15000};
// The limit as this process uses it: kDriveCallLimit times the test scale.
std::chrono::milliseconds DriveCallLimit();
// For tests only: scales DriveCallLimit by `factor` (> 0).
void SetDriveTimeScaleForTests(double factor);

// True for 'A' to 'Z'.
bool IsDriveLetter(char letter);

class NetworkDrives {
public:
  virtual ~NetworkDrives() = default;
  // Every mapped letter, remembered ones whose box is off included, in
  // letter order. RecordFailed (detail: the file) when the drive records
  // cannot be read; `mappings` then holds what could be read.
  virtual DriveResult List(std::vector<DriveMapping> &mappings) = 0;
  // The same letters as the drive records hold them, without asking the
  // desktop which are connected (`connected` false, `folder` empty): no
  // call to the desktop's file service, so a window may ask on its own
  // thread.
  virtual std::vector<DriveMapping> Records() = 0;
  // Every letter that cannot take a new mapping, upper case, in order.
  virtual std::string LettersInUse() = 0;
  // A request's letter 0 takes the last free letter from Z down; the
  // result names the letter taken.
  virtual DriveResult Map(const DriveMapRequest &request, std::stop_token stop) = 0;
  virtual DriveResult Unmap(char letter, std::stop_token stop) = 0;
  // Connects a remembered mapping again (after a login) when it is not
  // connected: with the password the desktop keeps, else with `login`
  // (user name and password), never asking anyone. None when it is
  // connected afterwards.
  virtual DriveResult Reconnect(const DriveMapping &mapping, const DriveLogin &login,
                                std::stop_token stop) = 0;
};

// Installs a service and returns the one it replaces; null removes it.
std::shared_ptr<NetworkDrives> SetNetworkDrives(std::shared_ptr<NetworkDrives> service);
// The installed service, or null.
std::shared_ptr<NetworkDrives> CurrentNetworkDrives();

// Records every call and answers from a letter table and a script of
// results. Map takes a letter when the next scripted result is a success
// (or none is scripted) and the letter is free; Unmap frees it. Thread-safe.
class NetworkDrivesRecorder : public NetworkDrives {
public:
  DriveResult List(std::vector<DriveMapping> &mappings) override;
  std::vector<DriveMapping> Records() override;
  std::string LettersInUse() override;
  DriveResult Map(const DriveMapRequest &request, std::stop_token stop) override;
  DriveResult Unmap(char letter, std::stop_token stop) override;
  // "reconnect Z: USER" (the login's user, "-" without one); connects the
  // letter unless a failure is scripted.
  DriveResult Reconnect(const DriveMapping &mapping, const DriveLogin &login,
                        std::stop_token stop) override;

  // A mapping already there (connected or not).
  void AddMapping(const DriveMapping &mapping);
  // A letter taken by something that is no mapping (a local disk, a foreign
  // ~/Drives entry).
  void AddForeignLetter(char letter);
  // The results of the next Map or Unmap calls, in order.
  void ScriptResult(DriveResult result);
  // What List reports from now on (with the mappings it holds).
  void SetRecordsResult(DriveResult result);
  // While held, Map and Unmap wait until released or stopped (then
  // Cancelled).
  void Hold(bool held);
  // True while a call waits in Hold.
  bool Waiting() const;

  // "map Z: SERVER SHARE USER PASSWORD remember|session" ("map auto ..."
  // for letter 0) and "unmap Z:", in call order.
  std::vector<std::string> Calls() const;
  // How often List, the call that asks the desktop, was made.
  int ListCalls() const;

private:
  // False when stopped while held.
  bool WaitWhileHeld(std::unique_lock<std::mutex> &guard, std::stop_token &stop);
  DriveResult NextScripted();
  // The mappings in letter order; the caller holds m_lock.
  std::vector<DriveMapping> SortedMappings() const;

  mutable std::mutex m_lock;
  std::condition_variable_any m_release;
  std::vector<DriveMapping> m_mappings;
  std::string m_foreign;
  std::deque<DriveResult> m_script;
  DriveResult m_recordsResult;
  std::vector<std::string> m_calls;
  bool m_held = false;
  int m_waiting = 0;
  int m_listCalls = 0;
};

// Installs a recorder for the lifetime of the object, then restores the
// previous service.
class ScopedNetworkDrivesRecorder {
public:
  ScopedNetworkDrivesRecorder();
  ~ScopedNetworkDrivesRecorder();
  ScopedNetworkDrivesRecorder(const ScopedNetworkDrivesRecorder &) = delete;
  ScopedNetworkDrivesRecorder &operator=(const ScopedNetworkDrivesRecorder &) = delete;
  NetworkDrivesRecorder &operator*() const { return *m_recorder; }
  NetworkDrivesRecorder *operator->() const { return m_recorder.get(); }

private:
  std::shared_ptr<NetworkDrivesRecorder> m_recorder;
  std::shared_ptr<NetworkDrives> m_previous;
};

} // namespace corvesta
