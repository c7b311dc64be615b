#pragma once
// The message box service of the Qt program. A box asked for on the UI thread
// is shown there at once; one asked for by a worker thread is shown on the UI
// thread while the worker waits for the answer. How the box is put in front
// of the person is a replaceable presenter, so tests can answer from a script
// without ever opening a modal box.
//
// A worker that asks waits for the UI thread, so the UI thread must never
// wait for a worker that may be asking (stop such a worker only after it has
// posted its result).

#include <functional>
#include <memory>

#include "platform/message_box.h"
#include "ui/skin/skin_message_dialog.h"

namespace corvesta {

// Builds the skinned box for a request: text, caption, buttons, icon, owner
// window (null: no owner). English labels when the request asks for them.
std::unique_ptr<CSkinMessageDialog> BuildMessageBox(const MessageBoxRequest &request,
                                                    QWidget *owner);

class QtMessageBoxService : public MessageBoxService {
public:
  // Runs on the UI thread and returns the person's answer.
  using Presenter = std::function<MessageBoxResult(const MessageBoxRequest &, QWidget *owner)>;

  // The default presenter runs the box built by BuildMessageBox modally.
  QtMessageBoxService();
  explicit QtMessageBoxService(Presenter presenter);

  MessageBoxResult Show(const MessageBoxRequest &request) override;

private:
  MessageBoxResult ShowOnUiThread(const MessageBoxRequest &request);

  Presenter m_presenter;
};

} // namespace corvesta
