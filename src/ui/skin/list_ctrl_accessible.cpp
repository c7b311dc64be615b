#include "ui/skin/list_ctrl_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QWindow>

#include "ui/skin/gdip_list_ctrl.h"

namespace corvesta {
namespace {

// One row of the list. It reads the list each time it is asked, so the same
// item serves whatever the row holds after a refill.
class ListRowAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
  ListRowAccessible(CGdipListCtrl *list, int row) : m_list(list), m_row(row) {}

  bool isValid() const override { return List() != nullptr; }
  QObject *object() const override { return nullptr; }
  QWindow *window() const override {
    const CGdipListCtrl *list = m_list.data();
    return list == nullptr ? nullptr : list->window()->windowHandle();
  }
  QAccessibleInterface *parent() const override {
    CGdipListCtrl *list = m_list.data();
    return list == nullptr ? nullptr : QAccessible::queryAccessibleInterface(list);
  }
  QAccessibleInterface *child(int) const override { return nullptr; }
  QAccessibleInterface *childAt(int, int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface *) const override { return -1; }

  QString text(QAccessible::Text t) const override {
    const CGdipListCtrl *list = List();
    if (t != QAccessible::Name || list == nullptr) {
      return {};
    }
    QStringList cells;
    for (int column = 0; column < list->columnCount(); ++column) {
      const QString cell = list->GetItemText(m_row, column);
      if (!cell.isEmpty()) {
        cells << cell;
      }
    }
    return cells.join(QStringLiteral(", "));
  }
  void setText(QAccessible::Text, const QString &) override {}

  QRect rect() const override {
    const CGdipListCtrl *list = List();
    if (list == nullptr) {
      return {};
    }
    const QRect row = RowRect(*list);
    return QRect(list->viewport()->mapToGlobal(row.topLeft()), row.size());
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State state;
    const CGdipListCtrl *list = List();
    if (list == nullptr) {
      state.invalid = true;
      return state;
    }
    state.selectable = true;
    state.focusable = true;
    state.selected = list->GetSelectedRow() == m_row;
    state.focused = list->hasFocus() && list->currentRow() == m_row;
    state.offscreen = !list->isVisible() || !list->viewport()->rect().intersects(RowRect(*list));
    state.invisible = !list->isVisible();
    state.disabled = !list->isEnabled();
    return state;
  }

  void *interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this)
                                                : nullptr;
  }

  QStringList actionNames() const override {
    const CGdipListCtrl *list = List();
    if (list == nullptr || !list->isEnabled()) {
      return {};
    }
    return {pressAction()};
  }
  void doAction(const QString &name) override {
    CGdipListCtrl *list = List();
    if (list != nullptr && actionNames().contains(name)) {
      list->ClickRow(m_row);
    }
  }
  QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
  // The list while it exists and still holds this row, else nullptr.
  CGdipListCtrl *List() const {
    CGdipListCtrl *list = m_list.data();
    return list != nullptr && m_row < list->rowCount() ? list : nullptr;
  }
  QRect RowRect(const CGdipListCtrl &list) const {
    QRect row;
    for (int column = 0; column < list.columnCount(); ++column) {
      row |= list.visualRect(list.model()->index(m_row, column));
    }
    return row;
  }

  QPointer<CGdipListCtrl> m_list;
  int m_row;
};

class ListCtrlAccessible : public QAccessibleWidget {
public:
  explicit ListCtrlAccessible(CGdipListCtrl *list) : QAccessibleWidget(list, QAccessible::List) {}

  ~ListCtrlAccessible() override {
    for (QAccessible::Id id : std::as_const(m_rows)) {
      QAccessible::deleteAccessibleInterface(id);
    }
  }

  int childCount() const override { return List()->rowCount(); }

  QAccessibleInterface *child(int index) const override {
    if (index < 0 || index >= childCount()) {
      return nullptr;
    }
    auto found = m_rows.constFind(index);
    if (found == m_rows.cend()) {
      auto *row = new ListRowAccessible(List(), index);
      found = m_rows.insert(index, QAccessible::registerAccessibleInterface(row));
    }
    return QAccessible::accessibleInterface(found.value());
  }

  int indexOfChild(const QAccessibleInterface *child) const override {
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it) {
      if (QAccessible::accessibleInterface(it.value()) == child) {
        return it.key() < childCount() ? it.key() : -1;
      }
    }
    return -1;
  }

  QAccessibleInterface *childAt(int x, int y) const override {
    const QModelIndex hit = List()->indexAt(List()->viewport()->mapFromGlobal(QPoint(x, y)));
    return hit.isValid() ? child(hit.row()) : nullptr;
  }

  QAccessibleInterface *focusChild() const override {
    const int current = List()->currentRow();
    return List()->hasFocus() && current >= 0 ? child(current) : nullptr;
  }

private:
  CGdipListCtrl *List() const { return static_cast<CGdipListCtrl *>(widget()); }

  mutable QHash<int, QAccessible::Id> m_rows; // row to its item
};

} // namespace

QAccessibleInterface *MakeListCtrlAccessible(CGdipListCtrl *list) {
  return list->ReadsAsList() ? new ListCtrlAccessible(list) : nullptr;
}

} // namespace corvesta
