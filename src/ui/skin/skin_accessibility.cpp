#include "ui/skin/skin_accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "ui/skin/folder_list_accessible.h"
#include "ui/skin/folder_list_ctrl.h"
#include "ui/skin/skin_button.h"

namespace corvesta {
namespace {

class SkinButtonAccessible : public QAccessibleWidget {
public:
  explicit SkinButtonAccessible(CSkinButton *button) : QAccessibleWidget(button, RoleOf(button)) {
    if (button->isCheckable()) {
      addControllingSignal(QStringLiteral("toggled(bool)"));
    }
  }

  static QAccessible::Role RoleOf(const CSkinButton *button) {
    if (button->IsRadioStyle()) {
      return QAccessible::RadioButton;
    }
    return button->isCheckable() ? QAccessible::CheckBox : QAccessible::Button;
  }

  QAccessible::Role role() const override { return RoleOf(Button()); }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      const QString name = widget()->accessibleName();
      return name.isEmpty() ? Button()->text() : name;
    }
    return QAccessibleWidget::text(t);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    const CSkinButton *button = Button();
    if (button->isCheckable()) {
      state.checkable = true;
      state.checked = button->isChecked();
    }
    if (button->isDown()) {
      state.pressed = true;
    }
    return state;
  }

  QStringList actionNames() const override {
    if (!widget()->isEnabled()) {
      return {};
    }
    if (Button()->isCheckable()) {
      return {toggleAction(), pressAction()};
    }
    return {pressAction()};
  }

  void doAction(const QString &actionName) override {
    CSkinButton *button = Button();
    if (!button->isEnabled() || !actionNames().contains(actionName)) {
      return;
    }
    // Both actions are the click: a radio-style button is chosen (never
    // unticked) and the owner switches the mode it stands for.
    button->click();
  }

  QStringList keyBindingsForAction(const QString &actionName) const override {
    if (actionNames().contains(actionName)) {
      return {QStringLiteral("Space")};
    }
    return {};
  }

private:
  CSkinButton *Button() const { return static_cast<CSkinButton *>(widget()); }
};

} // namespace

QAccessibleInterface *SkinAccessibleFactory(const QString &, QObject *object) {
  if (auto *button = qobject_cast<CSkinButton *>(object)) {
    return new SkinButtonAccessible(button);
  }
  if (auto *folders = qobject_cast<CFolderListCtrl *>(object)) {
    return MakeFolderListAccessible(folders);
  }
  return nullptr;
}

void InstallSkinAccessibility() {
  static bool installed = false;
  if (!installed) {
    QAccessible::installFactory(&SkinAccessibleFactory);
    installed = true;
  }
}

} // namespace corvesta
