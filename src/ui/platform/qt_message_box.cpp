#include "ui/platform/qt_message_box.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QThread>

#include "ui/platform/qt_message_target.h"
#include "ui/qt_text.h"

namespace corvesta {
namespace {

QMessageBox::StandardButtons ButtonsOf(MessageBoxButtons buttons) {
  switch (buttons) {
  case MessageBoxButtons::OkCancel:
    return QMessageBox::Ok | QMessageBox::Cancel;
  case MessageBoxButtons::YesNo:
    return QMessageBox::Yes | QMessageBox::No;
  case MessageBoxButtons::Ok:
    break;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(MessageBoxIcon icon) {
  switch (icon) {
  case MessageBoxIcon::Information:
    return QMessageBox::Information;
  case MessageBoxIcon::Warning:
    return QMessageBox::Warning;
  case MessageBoxIcon::Error:
    return QMessageBox::Critical;
  case MessageBoxIcon::Question:
    return QMessageBox::Question;
  case MessageBoxIcon::None:
    break;
  }
  return QMessageBox::NoIcon;
}

MessageBoxResult PresentModally(const MessageBoxRequest &request, QWidget *owner) {
  std::unique_ptr<QMessageBox> box = BuildMessageBox(request, owner);
  box->exec();
  return AnswerFromButton(box->standardButton(box->clickedButton()), request.buttons);
}

} // namespace

std::unique_ptr<QMessageBox> BuildMessageBox(const MessageBoxRequest &request, QWidget *owner) {
  auto box = std::make_unique<QMessageBox>(owner);
  box->setWindowTitle(ToQString(request.caption));
  box->setText(ToQString(request.text));
  box->setTextFormat(Qt::PlainText);
  box->setIcon(IconOf(request.icon));
  box->setStandardButtons(ButtonsOf(request.buttons));
  box->setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
  switch (request.buttons) {
  case MessageBoxButtons::OkCancel:
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Cancel);
    break;
  case MessageBoxButtons::YesNo:
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    break;
  case MessageBoxButtons::Ok:
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Ok);
    break;
  }
  if (request.englishButtons) {
    const std::pair<QMessageBox::StandardButton, QString> labels[] = {
        {QMessageBox::Ok, QStringLiteral("OK")},
        {QMessageBox::Cancel, QStringLiteral("Cancel")},
        {QMessageBox::Yes, QStringLiteral("&Yes")},
        {QMessageBox::No, QStringLiteral("&No")},
    };
    for (const auto &[button, label] : labels) {
      if (QAbstractButton *pushButton = box->button(button)) {
        pushButton->setText(label);
      }
    }
  }
  return box;
}

MessageBoxResult AnswerFromButton(QMessageBox::StandardButton button, MessageBoxButtons buttons) {
  switch (button) {
  case QMessageBox::Ok:
    return MessageBoxResult::Ok;
  case QMessageBox::Cancel:
    return MessageBoxResult::Cancel;
  case QMessageBox::Yes:
    return MessageBoxResult::Yes;
  case QMessageBox::No:
    return MessageBoxResult::No;
  default:
    break;
  }
  return DismissAnswer(buttons);
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
