#include "ui/platform/qt_message_box.h"

#include <QCoreApplication>
#include <QThread>

#include "ui/platform/qt_message_target.h"

namespace corvesta {
namespace {

MessageBoxResult PresentModally(const MessageBoxRequest &request, QWidget *owner) {
  return BuildMessageBox(request, owner)->Run();
}

} // namespace

std::unique_ptr<CSkinMessageDialog> BuildMessageBox(const MessageBoxRequest &request,
                                                    QWidget *owner) {
  return std::make_unique<CSkinMessageDialog>(request, owner);
}

QtMessageBoxService::QtMessageBoxService() : m_presenter(PresentModally) {}

QtMessageBoxService::QtMessageBoxService(Presenter presenter) : m_presenter(std::move(presenter)) {}

MessageBoxResult QtMessageBoxService::Show(const MessageBoxRequest &request) {
  QCoreApplication *application = QCoreApplication::instance();
  if (application == nullptr) {
    return DismissAnswer(request.buttons);
  }
  if (QThread::currentThread() == application->thread()) {
    return ShowOnUiThread(request);
  }
  // The worker waits here until the UI thread has run the box. Should the
  // application go away first, its queued call is dropped, which releases the
  // worker with the dismiss answer.
  MessageBoxResult answer = DismissAnswer(request.buttons);
  QMetaObject::invokeMethod(
      application, [this, &request, &answer] { answer = ShowOnUiThread(request); },
      Qt::BlockingQueuedConnection);
  return answer;
}

MessageBoxResult QtMessageBoxService::ShowOnUiThread(const MessageBoxRequest &request) {
  QWidget *owner = QtMessageTarget::WidgetFromHandle(request.owner);
  return m_presenter(request, owner);
}

} // namespace corvesta
