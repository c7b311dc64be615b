#include "accessibility_audit.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QWidget>

#include "ui/skin/control_id.h"

namespace corvesta::test {
namespace {

// A tree larger than any window of ours means the walk went round in circles.
constexpr int kMaxNodes = 20000;

bool IsControlRole(QAccessible::Role role) {
  switch (role) {
  case QAccessible::Button:
  case QAccessible::CheckBox:
  case QAccessible::RadioButton:
  case QAccessible::ComboBox:
  case QAccessible::EditableText:
  case QAccessible::SpinBox:
  case QAccessible::Slider:
  case QAccessible::List:
  case QAccessible::ListItem:
  case QAccessible::Table:
  case QAccessible::ProgressBar:
  case QAccessible::PageTab:
  case QAccessible::ColumnHeader: // a table's column says what its cells hold
    return true;
  default:
    return false;
  }
}

bool IsGenericRole(QAccessible::Role role) {
  return role == QAccessible::NoRole || role == QAccessible::Client || role == QAccessible::Pane ||
         role == QAccessible::Grouping;
}

bool OffersActions(QAccessible::Role role) {
  return role == QAccessible::Button || role == QAccessible::CheckBox ||
         role == QAccessible::RadioButton || role == QAccessible::ComboBox;
}

QString RoleName(QAccessible::Role role) {
  return QStringLiteral("role 0x%1").arg(int(role), 0, 16);
}

// "corvesta::CGdipButton #1050 'OK'": enough to find the control in the code.
QString Describe(QAccessibleInterface *node) {
  QObject *object = node->object();
  if (object == nullptr) {
    QAccessibleInterface *parent = node->parent();
    const QString owner = parent != nullptr ? Describe(parent) : QStringLiteral("?");
    return QStringLiteral("an item (%1) of %2").arg(RoleName(node->role()), owner);
  }
  QString text = QString::fromLatin1(object->metaObject()->className());
  if (object->isWidgetType()) {
    const int id = GetDlgCtrlID(static_cast<QWidget *>(object));
    if (id != 0) {
      text += QStringLiteral(" #%1").arg(id);
    }
  }
  QString name = object->objectName();
  if (name.isEmpty() && object->isWidgetType()) {
    name = static_cast<QWidget *>(object)->accessibleName();
  }
  if (!name.isEmpty()) {
    text += QStringLiteral(" '%1'").arg(name);
  }
  return text;
}

bool TakesFocus(QObject *object) {
  if (object == nullptr || !object->isWidgetType()) {
    return false;
  }
  const auto *widget = static_cast<QWidget *>(object);
  return widget->isVisible() && widget->focusPolicy() != Qt::NoFocus;
}

bool IsCheckable(QAccessibleInterface *node) {
  if (node->role() == QAccessible::CheckBox || node->role() == QAccessible::RadioButton) {
    return true;
  }
  const auto *button = qobject_cast<const QAbstractButton *>(node->object());
  return button != nullptr && button->isCheckable();
}

class Walk {
public:
  QStringList problems;

  void Visit(QAccessibleInterface *node) {
    if (node == nullptr || !node->isValid() || ++m_nodes > kMaxNodes) {
      return;
    }
    const QAccessible::State state = node->state();
    if (state.invisible) {
      return;
    }
    Check(node, state);
    const int count = node->childCount();
    for (int i = 0; i < count; ++i) {
      Visit(node->child(i));
    }
  }

private:
  void Check(QAccessibleInterface *node, const QAccessible::State &state) {
    const QAccessible::Role role = node->role();
    const bool focusable = TakesFocus(node->object());
    const bool saysSomething =
        role == QAccessible::StaticText &&
        !(node->text(QAccessible::Name).isEmpty() && node->text(QAccessible::Value).isEmpty());
    if (!focusable && !IsControlRole(role) && !saysSomething) {
      return; // decoration, layout or a plain container
    }
    const QString who = Describe(node);
    if (focusable && IsGenericRole(role)) {
      problems
          << QStringLiteral("%1: takes the focus but has the generic %2").arg(who, RoleName(role));
    }
    if (node->text(QAccessible::Name).trimmed().isEmpty()) {
      problems << QStringLiteral("%1 (%2): no name").arg(who, RoleName(role));
    }
    if (OffersActions(role) && !state.disabled) {
      QAccessibleActionInterface *actions = node->actionInterface();
      if (actions == nullptr || actions->actionNames().isEmpty()) {
        problems
            << QStringLiteral("%1 (%2): enabled but offers no action").arg(who, RoleName(role));
      }
    }
    if (IsCheckable(node) && !state.checkable) {
      problems << QStringLiteral("%1 (%2): checkable, but its state does not say so")
                      .arg(who, RoleName(role));
    }
  }

  int m_nodes = 0;
};

} // namespace

QStringList AccessibilityProblems(QWidget *window) {
  QAccessibleInterface *root = QAccessible::queryAccessibleInterface(window);
  if (root == nullptr) {
    return {QStringLiteral("%1: no accessible interface")
                .arg(window != nullptr ? QString::fromLatin1(window->metaObject()->className())
                                       : QStringLiteral("null window"))};
  }
  Walk walk;
  if (root->text(QAccessible::Name).trimmed().isEmpty()) {
    walk.problems << QStringLiteral("%1: the window has no name").arg(Describe(root));
  }
  walk.Visit(root);
  return walk.problems;
}

} // namespace corvesta::test
