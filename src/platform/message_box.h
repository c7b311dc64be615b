#pragma once
// The message box service. Every message box of the program goes through
// ShowMessageBox, so the windows show a real box while tests install a
// MessageBoxRecorder that answers from a script and never blocks.
//
// ShowMessageBox may be called from any thread; the service decides how the
// box reaches the person (the Qt service shows it on the UI thread and blocks
// the calling worker until it is answered).

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/window_message.h"

namespace corvesta {

enum class MessageBoxButtons { Ok, OkCancel, YesNo };
enum class MessageBoxIcon { None, Information, Warning, Error, Question };
// Values as the system's dialog results: IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7.
enum class MessageBoxResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct MessageBoxRequest {
  WindowHandle owner = 0; // 0: no owner window
  std::u16string text;
  std::u16string caption;
  MessageBoxButtons buttons = MessageBoxButtons::Ok;
  MessageBoxIcon icon = MessageBoxIcon::None;
  // The buttons are labelled in US English whatever the language in use.
  bool englishButtons = false;
};

class MessageBoxService {
public:
  virtual ~MessageBoxService() = default;
  virtual MessageBoxResult Show(const MessageBoxRequest &request) = 0;
};

// The answer that dismissing the box gives: OK for a plain box, Cancel or No
// for a question, so that closing a question never confirms it.
MessageBoxResult DismissAnswer(MessageBoxButtons buttons);

// Shows the box through the installed service.
MessageBoxResult ShowMessageBox(const MessageBoxRequest &request);
MessageBoxResult ShowMessageBox(WindowHandle owner, std::u16string text, std::u16string caption,
                                MessageBoxButtons buttons = MessageBoxButtons::Ok,
                                MessageBoxIcon icon = MessageBoxIcon::None);

// Installs a service and returns the one it replaces. A null service restores
// the default, which writes the box to standard error and answers as if it
// had been dismissed.
std::shared_ptr<MessageBoxService> SetMessageBoxService(std::shared_ptr<MessageBoxService> service);

// Records every box and answers from a script: queued answers first, in
// order, then the dismiss answer. Thread-safe.
class MessageBoxRecorder : public MessageBoxService {
public:
  MessageBoxResult Show(const MessageBoxRequest &request) override;

  void QueueAnswer(MessageBoxResult answer);
  std::vector<MessageBoxRequest> Requests() const;
  std::size_t Count() const;
  // Waits until at least `count` boxes were shown; false on time-out.
  bool WaitForCount(std::size_t count, std::chrono::milliseconds timeout) const;
  void Clear();

private:
  mutable std::mutex m_lock;
  mutable std::condition_variable m_shown;
  std::vector<MessageBoxRequest> m_requests;
  std::deque<MessageBoxResult> m_answers;
};

// Installs a recorder for the lifetime of the object and restores the
// previous service afterwards.
class ScopedMessageBoxRecorder {
public:
  ScopedMessageBoxRecorder();
  ~ScopedMessageBoxRecorder();
  ScopedMessageBoxRecorder(const ScopedMessageBoxRecorder &) = delete;
  ScopedMessageBoxRecorder &operator=(const ScopedMessageBoxRecorder &) = delete;
  MessageBoxRecorder &operator*() const { return *m_recorder; }
  MessageBoxRecorder *operator->() const { return m_recorder.get(); }

private:
  std::shared_ptr<MessageBoxRecorder> m_recorder;
  std::shared_ptr<MessageBoxService> m_previous;
};

} // namespace corvesta
