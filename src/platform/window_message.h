#pragma once
// Window handles and window messages without a window system.
//
// Every object that receives messages (a Qt window, a command-line loop, a
// test target) derives from MessageTarget and registers itself, which gives it
// a handle: a 64-bit number that is never reused within a run. PostMessage
// works from any thread and returns false, doing nothing, when the handle is
// gone; SendMessage calls the target directly and works on the target's own
// thread only.

#include <cstdint>
#include <mutex>
#include <thread>

namespace corvesta {

using WindowHandle = std::uint64_t; // 0 is never a window
using UINT = std::uint32_t;
using WPARAM = std::uint64_t;
using LPARAM = std::int64_t;
using LRESULT = std::int64_t;

// The few system message numbers the program uses.
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_USER = 0x0400;

struct Message {
  WindowHandle window = 0;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

class MessageTarget {
public:
  MessageTarget() = default;
  MessageTarget(const MessageTarget &) = delete;
  MessageTarget &operator=(const MessageTarget &) = delete;
  virtual ~MessageTarget();

  // 0 until RegisterWindow, and again after UnregisterWindow.
  WindowHandle Handle() const { return m_handle; }
  std::thread::id OwnerThread() const { return m_owner; }

  // Handles a message on the owning thread: sent messages arrive here
  // directly, posted ones when the owner's loop delivers them.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
  // Gives the object a fresh handle and makes the calling thread its owner.
  // Call at the end of the derived constructor, once the object can take
  // messages. Registering again first drops the old handle.
  WindowHandle RegisterWindow();
  // After this returns no PostMessage reaches QueuePosted any more. Derived
  // classes call it first thing in their destructor.
  void UnregisterWindow();

  // Hands a posted message to the owner's queue. Called from any thread with
  // the registry locked: it must not block, and must not post or send.
  virtual void QueuePosted(const Message &message) = 0;

private:
  friend bool PostMessage(WindowHandle, UINT, WPARAM, LPARAM);
  WindowHandle m_handle = 0;
  std::thread::id m_owner;
};

// Queues the message for the window's owning thread. False when the handle is
// 0 or the window is gone; nothing is queued then.
bool PostMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam);

// Calls the window's WindowProc at once and returns its result. Only the
// thread that owns the window may send; from any other thread, or for a
// handle that is gone, nothing happens and the result is 0 (see TrySendMessage
// to tell the cases apart).
LRESULT SendMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam);
bool TrySendMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam,
                    LRESULT *result);

// True while a window with this handle is registered.
bool IsWindow(WindowHandle window);

} // namespace corvesta
