#include "ui/skin/gdip_list_ctrl.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

#include "i18n/translate.h"
#include "ui/qt_text.h"
#include "ui/skin/control_colors.h"
#include "ui/skin/gdip_header_ctrl.h"
#include "ui/skin/gdip_list_combo_box.h"
#include "ui/skin/skin_accessibility.h"
#include "ui/skin/skin_colors.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/window_handle_of.h"
#include "worker/private_messages.h"

namespace corvesta {
namespace {

constexpr int kCellTextInset = 5;
constexpr int kCellTextWeight = 400;
constexpr int kNarrowestChoiceColumn = 9;
constexpr char16_t kUnsetText[] = u"select";

QPointer<CGdipListComboBox> &ChooserSlot() {
  static QPointer<CGdipListComboBox> chooser;
  return chooser;
}

Qt::Alignment AlignmentOf(ColumnAlign align) {
  switch (align) {
  case ColumnAlign::Right:
    return Qt::AlignRight | Qt::AlignVCenter;
  case ColumnAlign::Center:
    return Qt::AlignHCenter | Qt::AlignVCenter;
  case ColumnAlign::Left:
    break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

// ----------------------------------------------------------- CGdipListCtrl

CGdipListCtrl::CGdipListCtrl(QWidget *parent)
    : QTableWidget(parent), m_header(new CGdipHeaderCtrl(this)) {
  InstallSkinAccessibility();
  setHorizontalHeader(m_header);
  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setShowGrid(false);
  setWordWrap(false);
  setSortingEnabled(false);
  setFrameShape(QFrame::NoFrame);
  setItemDelegate(new CGdipListItemDelegate(this));
  // The dialog's background shows through everywhere but the selected row.
  setAutoFillBackground(false);
  viewport()->setAutoFillBackground(false);

  connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this] {
    if (!hasFocus()) {
      setFocus(Qt::MouseFocusReason);
    }
    ReportScrolled();
  });
  connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this, [this] {
    if (!hasFocus()) {
      setFocus(Qt::MouseFocusReason);
    }
  });
}

CGdipListCtrl::~CGdipListCtrl() {
  delete ChooserSlot().data();
}

CGdipListComboBox *CGdipListCtrl::Chooser() {
  return ChooserSlot().data();
}

int CGdipListCtrl::InsertColumn(int column, const QString &title, ColumnAlign align, int width) {
  column = std::clamp(column, 0, columnCount());
  insertColumn(column);
  auto *item = new QTableWidgetItem(title);
  item->setTextAlignment(AlignmentOf(align));
  setHorizontalHeaderItem(column, item);
  setColumnWidth(column, width);
  return column;
}

int CGdipListCtrl::InsertItem(int row, const QString &text) {
  row = std::clamp(row, 0, rowCount());
  insertRow(row);
  setItem(row, 0, new QTableWidgetItem(text));
  return row;
}

bool CGdipListCtrl::SetItemText(int row, int column, const QString &text) {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
    return false;
  }
  if (QTableWidgetItem *cell = item(row, column)) {
    cell->setText(text);
  } else {
    setItem(row, column, new QTableWidgetItem(text));
  }
  return true;
}

QString CGdipListCtrl::GetItemText(int row, int column) const {
  const QTableWidgetItem *cell = item(row, column);
  return cell != nullptr ? cell->text() : QString();
}

void CGdipListCtrl::DeleteAllItems() {
  if (CGdipListComboBox *chooser = Chooser();
      chooser != nullptr && chooser->parent() == viewport()) {
    chooser->Close(true);
  }
  setRowCount(0);
}

int CGdipListCtrl::GetTopIndex() const {
  return rowCount() == 0 ? 0 : verticalScrollBar()->value();
}

int CGdipListCtrl::GetCountPerPage() const {
  return viewport()->height() / kRowHeight;
}

void CGdipListCtrl::ScrollRows(int rows) {
  verticalScrollBar()->setValue(verticalScrollBar()->value() + rows);
}

void CGdipListCtrl::SetSelectedRow(int row) {
  if (row < 0 || row >= rowCount()) {
    clearSelection();
    setCurrentIndex(QModelIndex());
    return;
  }
  setCurrentCell(row, 0);
}

void CGdipListCtrl::ClickRow(int row) {
  if (row < 0 || row >= rowCount()) {
    return;
  }
  SetSelectedRow(row);
  scrollTo(model()->index(row, 0));
  ReportScrolled();
  Q_EMIT ItemClicked(row, 0);
}

int CGdipListCtrl::GetSelectedRow() const {
  const QModelIndexList rows = selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

void CGdipListCtrl::SetColumnStyle(int column, int textHeight, QColor color) {
  std::erase_if(m_styles, [column](const StyleEntry &entry) { return entry.column == column; });
  m_styles.push_back({-1, column, textHeight, color});
  viewport()->update();
}

ListCellStyle CGdipListCtrl::CellStyle(int row, int column) const {
  for (const StyleEntry &entry : m_styles) {
    const bool columnMatch = entry.column == column || entry.column == -1;
    const bool rowMatch = entry.row == row || entry.row == -1;
    if (columnMatch && rowMatch && !(entry.row == -1 && entry.column == -1)) {
      return {entry.textHeight, entry.color};
    }
  }
  return {kDefaultTextHeight, skin::SkinColor(skin::kListTextDefault)};
}

void CGdipListCtrl::EnableChoiceColumn() {
  if (!IsChoiceColumn(kChoiceColumn)) {
    m_choiceColumns.push_back(kChoiceColumn);
  }
}

bool CGdipListCtrl::IsChoiceColumn(int column) const {
  return std::find(m_choiceColumns.begin(), m_choiceColumns.end(), column) != m_choiceColumns.end();
}

void CGdipListCtrl::HideVerticalScrollBar() {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

bool CGdipListCtrl::OpenChooser(int row, int column) {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
    return false;
  }
  QStringList choices;
  SendMessage(ParentHandleOf(this), WM_SKIN_FILL_CHOICES, static_cast<WPARAM>(row),
              reinterpret_cast<LPARAM>(&choices));
  if (columnWidth(column) <= kNarrowestChoiceColumn) {
    return false;
  }
  const QModelIndex index = model()->index(row, column);
  scrollTo(index, QAbstractItemView::EnsureVisible);
  QRect cell = visualRect(index);
  cell.setLeft(std::max(0, cell.left()));
  cell.setRight(std::min(viewport()->width() - 1, cell.right()));

  QPointer<CGdipListComboBox> &chooser = ChooserSlot();
  if (chooser.isNull()) {
    chooser = new CGdipListComboBox(viewport());
  } else {
    // An editing still open (here or in another list) ends first.
    chooser->Close(false);
    if (chooser->parent() != viewport()) {
      chooser->setParent(viewport());
    }
  }
  // The face shows its text as the cell does.
  chooser->setFont(skin::SkinFont(CellStyle(row, column).textHeight, kCellTextWeight));
  chooser->Begin(this, row, column, GetItemText(row, column), choices, cell);
  return true;
}

void CGdipListCtrl::EndCellEdit(int row, int column, const QString &text) {
  // A row deleted while it was being edited is not reported.
  if (SetItemText(row, column, text)) {
    PostToParent(WM_SKIN_CELL_EDITED, static_cast<WPARAM>(row), column);
  }
  setFocus(Qt::OtherFocusReason);
}

void CGdipListCtrl::PostToParent(UINT message, WPARAM wParam, LPARAM lParam) const {
  PostMessage(ParentHandleOf(this), message, wParam, lParam);
}

void CGdipListCtrl::mousePressEvent(QMouseEvent *event) {
  const QModelIndex hit = indexAt(event->position().toPoint());
  QTableWidget::mousePressEvent(event);
  if (event->button() != Qt::LeftButton) {
    return;
  }
  Q_EMIT ItemClicked(hit.isValid() ? hit.row() : -1, hit.isValid() ? hit.column() : -1);
  if (!hit.isValid() || (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
    return;
  }
  // The chooser opens only on the row that holds the focus after the click.
  if (currentIndex().row() == hit.row() && IsChoiceColumn(hit.column())) {
    OpenChooser(hit.row(), hit.column());
  }
}

bool CGdipListCtrl::IsChooserKey(const QKeyEvent &event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  switch (event.key()) {
  case Qt::Key_Space:
  case Qt::Key_F2:
  case Qt::Key_F4:
  case Qt::Key_Return:
  case Qt::Key_Enter:
    return modifiers == Qt::NoModifier;
  case Qt::Key_Down:
  case Qt::Key_Up:
    return modifiers == Qt::AltModifier;
  default:
    return false;
  }
}

void CGdipListCtrl::keyPressEvent(QKeyEvent *event) {
  // The keys that open a combo box open the chooser of the current row; they
  // go no further (Enter would otherwise press the dialog's default button).
  if (!m_choiceColumns.empty() && IsChooserKey(*event) && rowCount() > 0) {
    const int row = currentIndex().isValid() ? currentIndex().row() : 0;
    SetSelectedRow(row);
    OpenChooser(row, m_choiceColumns.front());
    event->accept();
    return;
  }
  QTableWidget::keyPressEvent(event);
  ReportScrolled();
}

void CGdipListCtrl::wheelEvent(QWheelEvent *event) {
  QTableWidget::wheelEvent(event);
  ReportScrolled();
}

void CGdipListCtrl::ReportScrolled() {
  // A wheel turn also moves the scroll bar: one message for both.
  if (m_scrolledQueued) {
    return;
  }
  m_scrolledQueued = true;
  QTimer::singleShot(0, this, [this] {
    m_scrolledQueued = false;
    PostToParent(WM_SKIN_LIST_SCROLLED, 0, 0);
  });
}

void CGdipListCtrl::PaintRowBackground(QPainter &painter, const QRect &area, bool selected) const {
  if (selected) {
    painter.fillRect(area, skin::SkinColor(skin::kSelectionFill));
  }
  painter.fillRect(QRect(area.left(), area.bottom(), area.width(), 1),
                   skin::SkinColor(skin::kListRowRule));
}

void CGdipListCtrl::paintEvent(QPaintEvent *event) {
  QTableWidget::paintEvent(event);
  QPainter painter(viewport());
  const int right = viewport()->width();
  const int bottom = viewport()->height();
  const int rows = rowCount();
  // Right of the last column, each row carries on to the edge.
  const int lastColumn = columnCount() - 1;
  const int columnsEnd =
      lastColumn >= 0 ? columnViewportPosition(lastColumn) + columnWidth(lastColumn) : 0;
  int y = 0;
  if (rows > 0) {
    for (int row = std::max(0, rowAt(0)); row < rows; ++row) {
      y = rowViewportPosition(row);
      if (y >= bottom) {
        break;
      }
      if (columnsEnd < right) {
        PaintRowBackground(painter, QRect(columnsEnd, y, right - columnsEnd, kRowHeight),
                           selectionModel()->isRowSelected(row, QModelIndex()));
      }
    }
    y = rowViewportPosition(rows - 1) + rowHeight(rows - 1);
  }
  // Ruled empty rows down to the bottom.
  for (; y < bottom; y += kRowHeight) {
    PaintRowBackground(painter, QRect(0, y, right, kRowHeight), false);
  }
}

// --------------------------------------------------- CGdipListItemDelegate

CGdipListItemDelegate::CGdipListItemDelegate(CGdipListCtrl *list)
    : QStyledItemDelegate(list), m_list(list) {}

void CGdipListItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const {
  painter->save();
  m_list->PaintRowBackground(*painter, option.rect, (option.state & QStyle::State_Selected) != 0);
  const ListCellStyle style = m_list->CellStyle(index.row(), index.column());
  const QString text = index.data(Qt::DisplayRole).toString();
  const bool unset = text == ToQString(Translate(kUnsetText));
  painter->setFont(skin::SkinFont(style.textHeight, kCellTextWeight));
  painter->setPen(unset ? skin::SkinColor(skin::kListTextUnset) : style.color);
  const QRect area = option.rect.adjusted(kCellTextInset, 0, -kCellTextInset, -1);
  const QString shown = painter->fontMetrics().elidedText(text, Qt::ElideRight, area.width());
  painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
  painter->restore();
}

QSize CGdipListItemDelegate::sizeHint(const QStyleOptionViewItem &option,
                                      const QModelIndex &index) const {
  return {QStyledItemDelegate::sizeHint(option, index).width(), CGdipListCtrl::kRowHeight};
}

} // namespace corvesta
