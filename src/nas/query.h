#pragma once
// One exchange with a box. A start operation (discovery, credential check,
// address change, and each HTTP command) creates the query on the window's
// thread, fills it, gives it the exchange to run and launches it; the query
// then runs that exchange on a worker thread of its own and reports to its
// window by a private message.
//
// Ownership: the start operation owns the query until Launch; from then on
// the worker owns it. An exchange that hands the query over (HandOver: put
// into the message store and WM_QUERY_RESULT posted) leaves it to the
// receiving window, which takes it back from the store (TakeQuery), reads it
// and deletes it. Every other exchange (a refused credential check, an
// address change, an HTTP command that reports by a message without payload)
// ends with the worker deleting the query itself, so no query is ever left
// behind.
//
// Every request tells its window how it ended. Exchanges and parsers post
// their result messages through Report (or HandOver); a run that ended
// without either posts WM_REQUEST_UNANSWERED (wParam the ticket, lParam the
// kind) once the query is gone.
//
// Adding a kind: write its start operation and its exchange function in a
// file of its own, set the kind (and command index), fill the fields it
// needs, and call Launch with the exchange.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "nas/current_credentials.h"
#include "nas/query_kind.h"
#include "nas/udp/adapter_table.h"
#include "nas/udp/ip_setting_block.h"
#include "nas/udp/request_tag.h"
#include "nas/udp/udp_channel.h"
#include "platform/unique_fd.h"
#include "platform/window_message.h"
#include "worker/thread.h"
#include "worker/ticket.h"

namespace corvesta {

struct VolumeInfo; // the volume list's nodes, filled by the volume list parser

enum class Transport : std::uint8_t { Udp = 0, Tcp = 1 };

class CQuery : public CThread {
public:
  // What an exchange did with its query.
  enum class Disposition {
    HandedOver, // HandOver was called: the query is no longer this worker's
    Finished,   // the worker deletes the query when the exchange returns
  };
  using Exchange = Disposition (*)(CQuery &query);

  explicit CQuery(WindowHandle window);
  ~CQuery() override;

  // Gives the query a fresh ticket and starts its worker on `exchange`.
  // Returns the ticket, or 0 when no thread could be started (the query is
  // deleted then). The caller must not touch the query after the call.
  static Ticket Launch(std::unique_ptr<CQuery> query, Exchange exchange);

  // Runs the exchange once and disposes of the query as it says; posts
  // WM_REQUEST_UNANSWERED when the exchange reported nothing.
  void Run() override;

  // Posts a result message of this request to its window and records that
  // the request was answered. False when the window is gone.
  bool Report(UINT message, WPARAM wParam, LPARAM lParam);

  // Puts the query into the message store with `result` and posts
  // WM_QUERY_RESULT (wParam `result`, lParam the store id) to its window.
  // When the window is gone the query is taken back and deleted. Must be the
  // exchange's last use of the query: it may be deleted before this returns.
  Disposition HandOver(WPARAM result);

  // The worker's wait points, for exchanges: pause, cut short by a stop.
  bool PauseFor(std::chrono::microseconds duration);

  // Queries alive in the process (created and not yet deleted): shows that
  // no query is left behind. It does not tell whether a request has ended:
  // its window learns that from its result or WM_REQUEST_UNANSWERED.
  static std::int64_t LiveCount();
  // Workers launched whose run has not yet ended (their query may be gone
  // already, but the thread still touches the process-wide objects).
  static std::int64_t RunningCount();

  // ---- Fields read and written by the start operations, the exchanges,
  // the reply parsers and, after the hand-over, the receiving window.

  std::int32_t deviceIndex = -1; // position of the box in the device list
  QueryKind kind = QueryKind::None;
  CommandIndex commandIndex = CommandIndex::None;
  std::int32_t loginFlag = -1;   // digit after "flag" in a failed login reply
  std::uint32_t wizardLogin = 0; // 1: a login answers with WM_COMMAND_RESULT
  WindowHandle window = 0;       // receives the result messages
  Ticket ticket = 0;             // the request's identity, set by Launch
  Transport transport = Transport::Tcp;
  char targetAddress[16] = {};       // the box's address for the HTTP connection
  std::uint16_t targetPort = 0;      // 80 once an HTTP request is built
  UniqueFd socket;                   // the TCP socket; closed with the query if still open
  std::vector<std::uint8_t> request; // the datagram or the HTTP request text
  std::vector<std::uint8_t> reply;   // the reply buffer, allocated by the first receive
  char targetIp[16] = {};            // the device's ip, for the UDP exchanges with one box
  char newPassword[17] = {};         // the password being set by the password change
  std::int32_t adapterIndex = -1;    // the device's adapter, for the UDP exchanges with one box
  std::u16string accessText;         // the authority text of a user-access reply
  // An address change copies the caller's block into its datagram when it
  // starts, so the block need not outlive the call; this stays null.
  const IpSettingBlock *requestData = nullptr;
  // The volume list the volume parser fills, shared with the caller: it
  // lives until both the caller and this request are done with it, so a
  // caller that gives up on the request (or starts a new one) never frees a
  // list under a running worker.
  std::shared_ptr<VolumeInfo> resultList;

  // UDP exchanges: the sockets of each adapter used (set up on the calling
  // thread), and the tag and adapter table the datagrams were built with.
  std::vector<UdpChannel> channels;
  RequestTag tag;
  AdapterTable adapters;
  std::uint64_t discoveryGeneration = 0; // the device-list generation a discovery fills
  Credentials sentCredentials;           // what a credential check carries

private:
  Exchange m_exchange = nullptr;
  bool m_answered = false; // touched by the worker only, once launched
  bool m_counted = false;  // counted in s_running by Launch
  static std::atomic<std::int64_t> s_live;
  static std::atomic<std::int64_t> s_running;
};

} // namespace corvesta
