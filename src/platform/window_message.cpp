#include "platform/window_message.h"

#include <atomic>
#include <unordered_map>

namespace corvesta {
namespace {

struct Registry {
  std::mutex lock;
  std::unordered_map<WindowHandle, MessageTarget *> targets;
  WindowHandle lastHandle = 0;
};

Registry &TheRegistry() {
  static Registry registry;
  return registry;
}

MessageTarget *FindLocked(Registry &registry, WindowHandle window) {
  auto it = registry.targets.find(window);
  return it == registry.targets.end() ? nullptr : it->second;
}

} // namespace

MessageTarget::~MessageTarget() {
  UnregisterWindow();
}

LRESULT MessageTarget::WindowProc(UINT, WPARAM, LPARAM) {
  return 0;
}

WindowHandle MessageTarget::RegisterWindow() {
  UnregisterWindow();
  Registry &registry = TheRegistry();
  std::lock_guard guard(registry.lock);
  m_handle = ++registry.lastHandle;
  m_owner = std::this_thread::get_id();
  registry.targets.emplace(m_handle, this);
  return m_handle;
}

void MessageTarget::UnregisterWindow() {
  if (m_handle == 0) {
    return;
  }
  Registry &registry = TheRegistry();
  std::lock_guard guard(registry.lock);
  registry.targets.erase(m_handle);
  m_handle = 0;
}

bool PostMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window == 0) {
    return false;
  }
  Registry &registry = TheRegistry();
  std::lock_guard guard(registry.lock);
  MessageTarget *target = FindLocked(registry, window);
  if (target == nullptr) {
    return false;
  }
  target->QueuePosted(Message{window, message, wParam, lParam});
  return true;
}

bool TrySendMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam,
                    LRESULT *result) {
  if (window == 0) {
    return false;
  }
  MessageTarget *target = nullptr;
  {
    Registry &registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    target = FindLocked(registry, window);
    if (target == nullptr || target->OwnerThread() != std::this_thread::get_id()) {
      return false;
    }
  }
  // Only the owning thread can destroy the target, and that is this thread,
  // so the target stays alive for the call without the lock held.
  LRESULT value = target->WindowProc(message, wParam, lParam);
  if (result != nullptr) {
    *result = value;
  }
  return true;
}

LRESULT SendMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  TrySendMessage(window, message, wParam, lParam, &result);
  return result;
}

bool IsWindow(WindowHandle window) {
  if (window == 0) {
    return false;
  }
  Registry &registry = TheRegistry();
  std::lock_guard guard(registry.lock);
  return FindLocked(registry, window) != nullptr;
}

} // namespace corvesta
