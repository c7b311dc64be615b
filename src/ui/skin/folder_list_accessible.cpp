#include "ui/skin/folder_list_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "ui/skin/folder_list_ctrl.h"

namespace corvesta {
namespace {

const QString &OpenAction() {
  static const QString open = QStringLiteral("open");
  return open;
}

// One entry of the grid. It reads the grid each time it is asked, so the
// same item serves whatever entry the index holds after a refill.
class FolderItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
  FolderItemAccessible(CFolderListCtrl *folders, int index) : m_folders(folders), m_index(index) {}

  bool isValid() const override { return Grid() != nullptr; }
  QObject *object() const override { return nullptr; }
  QWindow *window() const override {
    const CFolderListCtrl *grid = m_folders.data();
    return grid == nullptr ? nullptr : grid->window()->windowHandle();
  }
  QAccessibleInterface *parent() const override {
    CFolderListCtrl *grid = m_folders.data();
    return grid == nullptr ? nullptr : QAccessible::queryAccessibleInterface(grid);
  }
  QAccessibleInterface *child(int) const override { return nullptr; }
  QAccessibleInterface *childAt(int, int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface *) const override { return -1; }

  QString text(QAccessible::Text t) const override {
    const CFolderListCtrl *grid = Grid();
    if (t == QAccessible::Name && grid != nullptr) {
      return grid->FolderName(m_index);
    }
    return {};
  }
  void setText(QAccessible::Text, const QString &) override {}

  QRect rect() const override {
    const CFolderListCtrl *grid = Grid();
    if (grid == nullptr) {
      return {};
    }
    const QRect cell = grid->VisibleCellRect(m_index);
    return QRect(grid->mapToGlobal(cell.topLeft()), cell.size());
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State state;
    const CFolderListCtrl *grid = Grid();
    if (grid == nullptr) {
      state.invalid = true;
      return state;
    }
    state.selectable = true;
    state.focusable = true;
    const bool selected = grid->GetSelected() == m_index;
    state.selected = selected;
    state.focused = selected && grid->hasFocus();
    const QRect cell = grid->VisibleCellRect(m_index);
    state.offscreen = !grid->isVisible() || !grid->rect().intersects(cell);
    state.invisible = !grid->isVisible();
    state.disabled = !grid->isEnabled();
    return state;
  }

  void *interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this)
                                                : nullptr;
  }

  QStringList actionNames() const override {
    const CFolderListCtrl *grid = Grid();
    if (grid == nullptr || !grid->isEnabled()) {
      return {};
    }
    return {OpenAction(), pressAction(), setFocusAction()};
  }
  QString localizedActionName(const QString &name) const override {
    return name == OpenAction() ? name : QAccessibleActionInterface::localizedActionName(name);
  }
  void doAction(const QString &name) override {
    CFolderListCtrl *grid = Grid();
    if (grid == nullptr || !actionNames().contains(name)) {
      return;
    }
    if (name == setFocusAction()) {
      grid->setFocus(Qt::OtherFocusReason);
      grid->Select(m_index);
      return;
    }
    grid->Open(m_index);
  }
  QStringList keyBindingsForAction(const QString &name) const override {
    return name == OpenAction() || name == pressAction() ? QStringList{QStringLiteral("Return")}
                                                         : QStringList{};
  }

private:
  // The grid while it exists and still holds this entry, else nullptr.
  CFolderListCtrl *Grid() const {
    CFolderListCtrl *grid = m_folders.data();
    return grid != nullptr && m_index < grid->FolderCount() ? grid : nullptr;
  }

  QPointer<CFolderListCtrl> m_folders;
  int m_index;
};

class FolderListAccessible : public QAccessibleWidget {
public:
  explicit FolderListAccessible(CFolderListCtrl *folders)
      : QAccessibleWidget(folders, QAccessible::List) {}

  ~FolderListAccessible() override {
    for (QAccessible::Id id : std::as_const(m_items)) {
      QAccessible::deleteAccessibleInterface(id);
    }
  }

  int childCount() const override { return Folders()->FolderCount(); }

  QAccessibleInterface *child(int index) const override {
    if (index < 0 || index >= childCount()) {
      return nullptr;
    }
    auto found = m_items.constFind(index);
    if (found == m_items.cend()) {
      auto *item = new FolderItemAccessible(Folders(), index);
      found = m_items.insert(index, QAccessible::registerAccessibleInterface(item));
    }
    return QAccessible::accessibleInterface(found.value());
  }

  int indexOfChild(const QAccessibleInterface *child) const override {
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it) {
      if (QAccessible::accessibleInterface(it.value()) == child) {
        return it.key() < childCount() ? it.key() : -1;
      }
    }
    return -1;
  }

  QAccessibleInterface *childAt(int x, int y) const override {
    const int hit = Folders()->EntryAt(Folders()->mapFromGlobal(QPoint(x, y)));
    return hit >= 0 ? child(hit) : nullptr;
  }

  QAccessibleInterface *focusChild() const override {
    const int selected = Folders()->GetSelected();
    return Folders()->hasFocus() && selected >= 0 ? child(selected) : nullptr;
  }

private:
  CFolderListCtrl *Folders() const { return static_cast<CFolderListCtrl *>(widget()); }

  mutable QHash<int, QAccessible::Id> m_items; // entry index to its item
};

} // namespace

QAccessibleInterface *MakeFolderListAccessible(CFolderListCtrl *folders) {
  return new FolderListAccessible(folders);
}

} // namespace corvesta
