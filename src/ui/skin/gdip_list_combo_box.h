#pragma once
// The in-place chooser of a list cell: a drop-down list shown over the cell,
// opened at once. It closes when its list closes up, on Enter, on Escape
// (cancelled: the cell keeps its text) and when it loses the focus, and then
// hands the list the text for the cell. One chooser serves the whole
// program; the list that opens it makes it its child.

#include <QPointer>

#include "ui/skin/gdip_combo_box.h"

namespace corvesta {

class CGdipListCtrl;

class CGdipListComboBox : public CGdipComboBox {
  Q_OBJECT
public:
  static constexpr int kItemHeight = 23;
  static constexpr int kVisibleItems = 8;

  explicit CGdipListComboBox(QWidget *parent = nullptr);

  // Shows the chooser over `cell` of the list's viewport with the choices,
  // the entry equal to `text` selected, the focus and its list open.
  void Begin(CGdipListCtrl *list, int item, int column, const QString &text,
             const QStringList &choices, const QRect &cell);
  bool IsEditing() const { return m_editing; }
  int Item() const { return m_item; }
  int Column() const { return m_column; }

  // Ends the editing: the list receives the chosen text, or the text from
  // before when cancelled; the chooser hides.
  void Close(bool cancelled);

  void hidePopup() override;

protected:
  void keyPressEvent(QKeyEvent *event) override;
  void focusOutEvent(QFocusEvent *event) override;
  void paintEvent(QPaintEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  QPointer<CGdipListCtrl> m_list;
  int m_item = -1;
  int m_column = -1;
  bool m_editing = false;
  bool m_cancelled = false;
  // Counts the editings, so a close queued for one never ends the next.
  unsigned m_session = 0;
  QString m_oldText;
};

} // namespace corvesta
