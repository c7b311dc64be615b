#include "platform/message_box.h"

#include <cstdio>

#include "platform/text_codec.h"

namespace corvesta {
namespace {

class StandardErrorMessageBox : public MessageBoxService {
public:
  MessageBoxResult Show(const MessageBoxRequest &request) override {
    std::string caption = Utf16ToUtf8(request.caption);
    std::string text = Utf16ToUtf8(request.text);
    std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
    return DismissAnswer(request.buttons);
  }
};

std::mutex g_serviceLock;
std::shared_ptr<MessageBoxService> g_service;

std::shared_ptr<MessageBoxService> CurrentService() {
  std::lock_guard guard(g_serviceLock);
  if (!g_service) {
    g_service = std::make_shared<StandardErrorMessageBox>();
  }
  return g_service;
}

} // namespace

MessageBoxResult DismissAnswer(MessageBoxButtons buttons) {
  switch (buttons) {
  case MessageBoxButtons::OkCancel:
    return MessageBoxResult::Cancel;
  case MessageBoxButtons::YesNo:
    return MessageBoxResult::No;
  case MessageBoxButtons::Ok:
    break;
  }
  return MessageBoxResult::Ok;
}

MessageBoxResult ShowMessageBox(const MessageBoxRequest &request) {
  // The service is held by value so that replacing it while a box is open on
  // another thread does not destroy it under the caller.
  std::shared_ptr<MessageBoxService> service = CurrentService();
  return service->Show(request);
}

MessageBoxResult ShowMessageBox(WindowHandle owner, std::u16string text, std::u16string caption,
                                MessageBoxButtons buttons, MessageBoxIcon icon) {
  MessageBoxRequest request;
  request.owner = owner;
  request.text = std::move(text);
  request.caption = std::move(caption);
  request.buttons = buttons;
  request.icon = icon;
  return ShowMessageBox(request);
}

std::shared_ptr<MessageBoxService>
SetMessageBoxService(std::shared_ptr<MessageBoxService> service) {
  std::lock_guard guard(g_serviceLock);
  std::shared_ptr<MessageBoxService> previous = std::move(g_service);
  g_service = std::move(service);
  return previous;
}

MessageBoxResult MessageBoxRecorder::Show(const MessageBoxRequest &request) {
  MessageBoxResult answer;
  {
    std::lock_guard guard(m_lock);
    m_requests.push_back(request);
    if (m_answers.empty()) {
      answer = DismissAnswer(request.buttons);
    } else {
      answer = m_answers.front();
      m_answers.pop_front();
    }
  }
  m_shown.notify_all();
  return answer;
}

void MessageBoxRecorder::QueueAnswer(MessageBoxResult answer) {
  std::lock_guard guard(m_lock);
  m_answers.push_back(answer);
}

std::vector<MessageBoxRequest> MessageBoxRecorder::Requests() const {
  std::lock_guard guard(m_lock);
  return m_requests;
}

std::size_t MessageBoxRecorder::Count() const {
  std::lock_guard guard(m_lock);
  return m_requests.size();
}

bool MessageBoxRecorder::WaitForCount(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock guard(m_lock);
  return m_shown.wait_for(guard, timeout, [&] { return m_requests.size() >= count; });
}

void MessageBoxRecorder::Clear() {
  std::lock_guard guard(m_lock);
  m_requests.clear();
  m_answers.clear();
}

ScopedMessageBoxRecorder::ScopedMessageBoxRecorder()
    : m_recorder(std::make_shared<MessageBoxRecorder>()),
      m_previous(SetMessageBoxService(m_recorder)) {}

ScopedMessageBoxRecorder::~ScopedMessageBoxRecorder() {
  SetMessageBoxService(m_previous);
}

} // namespace corvesta
