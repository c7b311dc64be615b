#pragma once
// A multi-step exchange with a box as an event-driven object.
//
// The front end that owns a sequence (a window, corvesta-cli's message loop,
// a test) starts it, hands it every message that arrives at the host's
// window and calls OnTimer when a timer the sequence asked for is due. The
// sequence starts each next request itself and reports progress and outcome
// to its owner through an observer interface of its own; the owner decides
// what to show. Nothing in a sequence blocks, sleeps or waits.
//
// Messages: OnMessage returns true for a message that was the sequence's; the
// sequence has then disposed of its payload (a query taken out of the message
// store and deleted, a disk record freed). Messages it returns false for are
// the owner's to dispose of.

#include <chrono>

#include "platform/window_message.h"

namespace corvesta {

class SequenceHost {
public:
  virtual ~SequenceHost() = default;

  // The window the sequence's requests report to.
  virtual WindowHandle Window() const = 0;

  // One OnTimer(id) call on the window's thread, `delay` from now. Asking
  // again for the same id replaces the earlier time.
  virtual void StartTimer(int id, std::chrono::milliseconds delay) = 0;
  virtual void StopTimer(int id) = 0;
};

class Sequence {
public:
  explicit Sequence(SequenceHost &host) : m_host(host) {}
  virtual ~Sequence() = default;
  Sequence(const Sequence &) = delete;
  Sequence &operator=(const Sequence &) = delete;

  // A message posted to the host's window; true when it was this sequence's.
  virtual bool OnMessage(const Message &message) = 0;
  // A timer asked for with StartTimer is due.
  virtual void OnTimer(int id) = 0;
  // False once the sequence has reported its outcome (or before its start).
  virtual bool Running() const = 0;

protected:
  SequenceHost &Host() const { return m_host; }

private:
  SequenceHost &m_host;
};

} // namespace corvesta
