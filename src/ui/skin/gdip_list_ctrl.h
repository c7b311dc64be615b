#pragma once
// The skinned report list: rows 30 pixels high over the dialog's background,
// a dark bar under the selected row, a thin rule under every row (ruled empty
// rows continue down to the bottom), per-column text size and colour, and the
// flat header. Column 1 may be a choice column: a click on it in the focused
// row opens the in-place chooser, whose entries the parent supplies, and so
// do the keys that open a combo box (Space, F2, F4, Enter, Alt+Down, Alt+Up)
// on the current row.
//
// The owner fills the list with the operations below (or QTableWidget's own)
// and hears about it through posted and sent window messages to the nearest
// ancestor with a window handle:
//   WM_SKIN_LIST_SCROLLED (0, 0)          posted after a scroll, wheel or key
//   WM_SKIN_FILL_CHOICES (row, QStringList*) sent before the chooser opens
//   WM_SKIN_CELL_EDITED (row, column)     posted when the chooser closed

#include <QColor>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <vector>

#include "platform/window_message.h"

class QKeyEvent;

namespace corvesta {

class CGdipHeaderCtrl;
class CGdipListComboBox;

enum class ColumnAlign { Left, Right, Center };

struct ListCellStyle {
  int textHeight;
  QColor color;
};

class CGdipListCtrl : public QTableWidget {
  Q_OBJECT
public:
  static constexpr int kRowHeight = 30;
  static constexpr int kDefaultTextHeight = 17;
  static constexpr int kChoiceColumn = 1;

  explicit CGdipListCtrl(QWidget *parent = nullptr);
  ~CGdipListCtrl() override;

  // Columns and items, as a report list is filled.
  int InsertColumn(int column, const QString &title, ColumnAlign align, int width);
  int InsertItem(int row, const QString &text);
  bool SetItemText(int row, int column, const QString &text);
  QString GetItemText(int row, int column) const;
  void DeleteAllItems();
  int GetItemCount() const { return rowCount(); }
  // The first visible row and the number of whole rows that fit.
  int GetTopIndex() const;
  int GetCountPerPage() const;
  // Scrolls by whole rows (negative: up).
  void ScrollRows(int rows);
  // Selects the row and gives it the focus state; -1 clears the selection.
  void SetSelectedRow(int row);
  int GetSelectedRow() const;

  // The text height and colour of every cell of the column (17 and white
  // without a style).
  void SetColumnStyle(int column, int textHeight, QColor color);
  ListCellStyle CellStyle(int row, int column) const;

  void EnableChoiceColumn();
  bool IsChoiceColumn(int column) const;

  // The list still scrolls with the wheel and the keys.
  void HideVerticalScrollBar();

  // A list of one choice per row reads as a list of its rows to assistive
  // technology (list_ctrl_accessible.h); otherwise as a table. Set it right
  // after making the list: the reading is chosen when it is first asked for.
  void SetReadsAsList(bool list) { m_readsAsList = list; }
  bool ReadsAsList() const { return m_readsAsList; }
  // Selects the row and tells of it as a left click on its first cell does
  // (assistive technology's press action).
  void ClickRow(int row);

  CGdipHeaderCtrl *Header() const { return m_header; }
  // The program's chooser; null until a list first opened it.
  static CGdipListComboBox *Chooser();

  // Asks the parent for the entries and opens the chooser over the cell, as
  // a click on a choice cell of the focused row does. False when the cell
  // cannot take it (no such cell, or a column 9 pixels wide or less).
  bool OpenChooser(int row, int column);
  // The chooser's closing: the cell takes the text and the parent is told.
  void EndCellEdit(int row, int column, const QString &text);

Q_SIGNALS:
  // A left click, once the list has handled it: the row and column under
  // the point, -1 for a click below the rows or beside the columns.
  void ItemClicked(int row, int column);

protected:
  void mousePressEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void wheelEvent(QWheelEvent *event) override;
  void paintEvent(QPaintEvent *event) override;

private:
  struct StyleEntry {
    int row;    // -1: every row
    int column; // -1: every column
    int textHeight;
    QColor color;
  };

  static bool IsChooserKey(const QKeyEvent &event);
  void PostToParent(UINT message, WPARAM wParam, LPARAM lParam) const;
  void ReportScrolled();
  void PaintRowBackground(class QPainter &painter, const QRect &area, bool selected) const;

  CGdipHeaderCtrl *m_header;
  std::vector<StyleEntry> m_styles;
  std::vector<int> m_choiceColumns;
  bool m_scrolledQueued = false;
  bool m_readsAsList = false;

  friend class CGdipListItemDelegate;
};

// Paints the cells of a CGdipListCtrl: the row background and the text in
// the column's style, "select" in grey.
class CGdipListItemDelegate : public QStyledItemDelegate {
  Q_OBJECT
public:
  explicit CGdipListItemDelegate(CGdipListCtrl *list);
  void paint(QPainter *painter, const QStyleOptionViewItem &option,
             const QModelIndex &index) const override;
  QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
  CGdipListCtrl *m_list;
};

} // namespace corvesta
