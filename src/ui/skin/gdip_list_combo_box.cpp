#include "ui/skin/gdip_list_combo_box.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include "ui/skin/control_colors.h"
#include "ui/skin/gdip_list_ctrl.h"
#include "ui/skin/skin_colors.h"

namespace corvesta {
namespace {

constexpr int kArrowWidth = 10;
constexpr int kArrowHeight = 5;
constexpr int kArrowRightInset = 12;

// The chooser's entries are a little lower than those of the other lists.
class ChooserItemDelegate : public CGdipComboItemDelegate {
public:
  using CGdipComboItemDelegate::CGdipComboItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
    return {CGdipComboItemDelegate::sizeHint(option, index).width(),
            CGdipListComboBox::kItemHeight};
  }
};

} // namespace

CGdipListComboBox::CGdipListComboBox(QWidget *parent) : CGdipComboBox(parent) {
  setItemDelegate(new ChooserItemDelegate(this));
  setMaxVisibleItems(kVisibleItems);
  view()->installEventFilter(this);
  hide();
}

void CGdipListComboBox::Begin(CGdipListCtrl *list, int item, int column, const QString &text,
                              const QStringList &choices, const QRect &cell) {
  m_list = list;
  m_item = item;
  m_column = column;
  m_oldText = text;
  m_cancelled = false;
  ++m_session;
  clear();
  addItems(choices);
  setCurrentIndex(findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
  setGeometry(cell);
  m_editing = true;
  show();
  raise();
  setFocus(Qt::MouseFocusReason);
  if (count() > 0) {
    showPopup();
  }
}

void CGdipListComboBox::Close(bool cancelled) {
  if (!m_editing) {
    return;
  }
  m_editing = false;
  m_cancelled = cancelled;
  // With no entry chosen (an empty list, or a cell text that is not among
  // the entries) the cell keeps its text rather than being emptied.
  const QString text = cancelled || currentIndex() < 0 ? m_oldText : currentText();
  if (view()->isVisible()) {
    CGdipComboBox::hidePopup();
  }
  hide();
  if (m_list) {
    m_list->EndCellEdit(m_item, m_column, text);
  }
}

void CGdipListComboBox::hidePopup() {
  CGdipComboBox::hidePopup();
  if (!m_editing) {
    return;
  }
  // The list closes before the clicked entry becomes the current one: take
  // the text once that is done.
  QTimer::singleShot(0, this, [this, session = m_session] {
    if (session == m_session) {
      Close(false);
    }
  });
}

void CGdipListComboBox::keyPressEvent(QKeyEvent *event) {
  switch (event->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
    Close(false);
    event->accept();
    return;
  case Qt::Key_Escape:
    Close(true);
    event->accept();
    return;
  default:
    CGdipComboBox::keyPressEvent(event);
  }
}

bool CGdipListComboBox::eventFilter(QObject *watched, QEvent *event) {
  // Escape in the open list cancels the whole editing, not only the list.
  if (watched == view() && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && m_editing) {
    Close(true);
    return true;
  }
  return CGdipComboBox::eventFilter(watched, event);
}

void CGdipListComboBox::focusOutEvent(QFocusEvent *event) {
  CGdipComboBox::focusOutEvent(event);
  // Opening the list takes the focus to the popup for a while: that is not
  // leaving the chooser.
  if (event->reason() != Qt::PopupFocusReason && !view()->isVisible()) {
    Close(false);
  }
}

void CGdipListComboBox::paintEvent(QPaintEvent *event) {
  {
    QPainter painter(this);
    painter.fillRect(rect(), skin::SkinColor(skin::kListChooserFill));
  }
  CGdipComboBox::paintEvent(event);
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPointF tip(width() - kArrowRightInset - kArrowWidth / 2.0,
                    height() / 2.0 + kArrowHeight / 2.0);
  QPainterPath arrow;
  arrow.moveTo(tip.x() - kArrowWidth / 2.0, tip.y() - kArrowHeight);
  arrow.lineTo(tip);
  arrow.lineTo(tip.x() + kArrowWidth / 2.0, tip.y() - kArrowHeight);
  painter.setPen(QPen(skin::SkinColor(isEnabled() ? skin::kTextNormal : skin::kTextDisabled), 1.6,
                      Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(arrow);
}

} // namespace corvesta
