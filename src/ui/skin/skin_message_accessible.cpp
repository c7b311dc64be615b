#include "ui/skin/skin_message_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "ui/skin/skin_message_dialog.h"

namespace corvesta {
namespace {

class MessageDialogAccessible : public QAccessibleWidget {
public:
  explicit MessageDialogAccessible(CSkinMessageDialog *dialog)
      : QAccessibleWidget(dialog, QAccessible::AlertMessage) {}

  QString text(QAccessible::Text t) const override {
    const auto *dialog = static_cast<const CSkinMessageDialog *>(widget());
    switch (t) {
    case QAccessible::Name: {
      const QString title = dialog->windowTitle();
      return title.isEmpty() ? dialog->Text() : title;
    }
    case QAccessible::Description:
    case QAccessible::Value:
      return dialog->Text();
    default:
      break;
    }
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface *MessageDialogFactory(const QString &, QObject *object) {
  if (auto *dialog = qobject_cast<CSkinMessageDialog *>(object)) {
    return new MessageDialogAccessible(dialog);
  }
  return nullptr;
}

} // namespace

void InstallMessageDialogAccessibility() {
  static bool installed = false;
  if (!installed) {
    QAccessible::installFactory(&MessageDialogFactory);
    installed = true;
  }
}

} // namespace corvesta
