#include "ui/skin/skin_accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>

#include "ui/skin/address_accessible.h"
#include "ui/skin/folder_list_accessible.h"
#include "ui/skin/folder_list_ctrl.h"
#include "ui/skin/gdip_combo_box.h"
#include "ui/skin/gdip_ip_addr_ctl.h"
#include "ui/skin/gdip_list_ctrl.h"
#include "ui/skin/gdip_process_ctrl.h"
#include "ui/skin/list_ctrl_accessible.h"
#include "ui/skin/skin_button.h"
#include "ui/skin/trans_static.h"
#include "ui/skin/underline_button.h"

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
    if (qobject_cast<const CUnderLineButton *>(button) != nullptr) {
      return QAccessible::PageTab; // the settings dialog's page tab
    }
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
      // A page tab is the current page while checked.
      state.selected = role() == QAccessible::PageTab && button->isChecked();
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
    if (Button()->isCheckable() && role() != QAccessible::PageTab) {
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

class TransStaticAccessible : public QAccessibleWidget {
public:
  explicit TransStaticAccessible(CTransStatic *label)
      : QAccessibleWidget(label, QAccessible::StaticText) {}

  QString text(QAccessible::Text t) const override {
    const auto *label = static_cast<const CTransStatic *>(widget());
    if (t == QAccessible::Name) {
      const QString name = label->accessibleName();
      return name.isEmpty() ? label->Text() : name;
    }
    if (t == QAccessible::Value) {
      return label->Text();
    }
    return QAccessibleWidget::text(t);
  }
};

// The progress bar: its value, range and a name, its own or, inside a volume
// gauge, the gauge's.
class ProcessCtrlAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
  explicit ProcessCtrlAccessible(CGdipProcessCtrl *bar)
      : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      QString name = widget()->accessibleName();
      if (name.isEmpty() && widget()->parentWidget() != nullptr) {
        name = widget()->parentWidget()->accessibleName();
      }
      return name;
    }
    if (t == QAccessible::Value) {
      return QStringLiteral("%1%").arg(Percent());
    }
    return QAccessibleWidget::text(t);
  }

  void *interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) {
      return static_cast<QAccessibleValueInterface *>(this);
    }
    return QAccessibleWidget::interface_cast(type);
  }

  QVariant currentValue() const override { return Bar()->GetPos(); }
  void setCurrentValue(const QVariant &) override {} // read only
  QVariant maximumValue() const override { return Bar()->Maximum(); }
  QVariant minimumValue() const override { return Bar()->Minimum(); }
  QVariant minimumStepSize() const override { return 1; }

private:
  const CGdipProcessCtrl *Bar() const { return static_cast<const CGdipProcessCtrl *>(widget()); }
  int Percent() const {
    const int span = Bar()->Maximum() - Bar()->Minimum();
    return span <= 0 ? 0 : (Bar()->GetPos() - Bar()->Minimum()) * 100 / span;
  }
};

// The drop-down list: named by its own accessible name (the heading over
// it, "Select NAS"), with the chosen entry as its value. Qt's own reading on
// Linux names a combo box by its current text, so a screen reader would say
// only the box's name and never what the list is for. Its child is the list
// of entries, as in Qt's own reading.
class ComboBoxAccessible : public QAccessibleWidget {
public:
  explicit ComboBoxAccessible(CGdipComboBox *combo)
      : QAccessibleWidget(combo, QAccessible::ComboBox) {
    addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      const QString name = widget()->accessibleName();
      return name.isEmpty() ? Combo()->currentText() : name;
    }
    if (t == QAccessible::Value) {
      return Combo()->currentText();
    }
    return QAccessibleWidget::text(t);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.expanded = Combo()->view()->isVisible();
    state.collapsed = !state.expanded;
    return state;
  }

  int childCount() const override { return 1; }

  QAccessibleInterface *child(int index) const override {
    return index == 0 ? QAccessible::queryAccessibleInterface(Combo()->view()) : nullptr;
  }

  int indexOfChild(const QAccessibleInterface *child) const override {
    return child != nullptr && child->object() == Combo()->view() ? 0 : -1;
  }

  QStringList actionNames() const override {
    if (!widget()->isEnabled()) {
      return {};
    }
    return {showMenuAction(), pressAction()};
  }

  void doAction(const QString &actionName) override {
    if (!widget()->isEnabled() || !actionNames().contains(actionName)) {
      return;
    }
    if (Combo()->view()->isVisible()) {
      Combo()->hidePopup();
    } else {
      Combo()->showPopup();
    }
  }

  QStringList keyBindingsForAction(const QString &actionName) const override {
    if (actionNames().contains(actionName)) {
      return {QStringLiteral("Alt+Down")};
    }
    return {};
  }

private:
  CGdipComboBox *Combo() const { return static_cast<CGdipComboBox *>(widget()); }
};

} // namespace

QAccessibleInterface *SkinAccessibleFactory(const QString &, QObject *object) {
  if (auto *button = qobject_cast<CSkinButton *>(object)) {
    return new SkinButtonAccessible(button);
  }
  if (auto *bar = qobject_cast<CGdipProcessCtrl *>(object)) {
    return new ProcessCtrlAccessible(bar);
  }
  if (auto *label = qobject_cast<CTransStatic *>(object)) {
    return new TransStaticAccessible(label);
  }
  if (auto *combo = qobject_cast<CGdipComboBox *>(object)) {
    return new ComboBoxAccessible(combo);
  }
  if (auto *folders = qobject_cast<CFolderListCtrl *>(object)) {
    return MakeFolderListAccessible(folders);
  }
  if (auto *address = qobject_cast<CGdipIpAddrCtl *>(object)) {
    return MakeAddressAccessible(address);
  }
  if (auto *list = qobject_cast<CGdipListCtrl *>(object)) {
    return MakeListCtrlAccessible(list); // null: Qt's table
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
