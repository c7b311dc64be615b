#include "ui/skin/folder_list_ctrl.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "ui/qt_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/gdip_slider.h"
#include "ui/skin/skin_accessibility.h"
#include "ui/skin/skin_colors.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/window_handle_of.h"
#include "worker/private_messages.h"

namespace corvesta {
namespace {

constexpr int kNameHeight = 18;
constexpr int kNameBottomInset = 10;
constexpr int kScrollBarWidth = 13;
// How far the visible part of the grid reaches below its first row.
constexpr int kVisibleHeight = 163;
constexpr int kWheelNotch = 120;
// Pixels a wheel notch scrolls the grid when turned over the folders.
constexpr int kWheelStep = 40;
constexpr char16_t kEllipsis[] = u"....";
constexpr qreal kFocusFrameRadius = 4.0;

} // namespace

CFolderListCtrl::CFolderListCtrl(QWidget *parent)
    : QWidget(parent), m_scrollBar(new CGdipSlider(this)) {
  InstallSkinAccessibility();
  setFocusPolicy(Qt::StrongFocus);
  m_highlight.LoadFromResource(skin::kFolderHighlight);
  m_folder.LoadFromResource(skin::kFolder);
  SetDlgCtrlID(m_scrollBar, kScrollBarId);
  m_scrollBar->setGeometry(kScrollBarRect);
  m_scrollBar->hide();
  connect(m_scrollBar, &CGdipSlider::Scrolled, this, [this](ScrollCode, int position) {
    m_offsetY = position;
    update();
  });
}

QString CFolderListCtrl::ShortenedName(const QString &name) {
  if (name.size() < kLongName) {
    return name;
  }
  QString kept = name.left(kShortenedKeep);
  // Never split a character made of two UTF-16 units.
  if (!kept.isEmpty() && kept.back().isHighSurrogate()) {
    kept.chop(1);
  }
  return kept + QString::fromUtf16(kEllipsis);
}

void CFolderListCtrl::AddFolder(const QString &name) {
  if (name.isNull() || FolderCount() >= kMaxFolders) {
    return;
  }
  const int n = FolderCount();
  const int column = n % kColumns;
  const int row = n / kColumns;
  const QRect cell(kCellPitch * column, kCellPitch * row + kGridTop, kCellSize, kCellSize);
  // A share's name is shown on one line, whatever it holds.
  m_entries.push_back({name, ShortenedName(OneLineText(name)), cell});
  if (FolderCount() > kColumns) {
    // The cell's bottom edge is exclusive, as the range is counted.
    const int lastBottom = m_entries.back().cell.bottom() + 1;
    m_scrollBar->setRange(0, lastBottom - kVisibleHeight);
    m_scrollBar->setValue(0);
    m_offsetX = 0;
    m_offsetY = 0;
    m_scrollBar->show();
  } else {
    m_scrollBar->hide();
  }
  update();
  NotifyEntriesChanged();
}

void CFolderListCtrl::ClearFolders() {
  m_entries.clear();
  m_scrollBar->hide();
  m_offsetX = 0;
  m_offsetY = 0;
  update();
  NotifyEntriesChanged();
}

QString CFolderListCtrl::FolderName(int index) const {
  return index >= 0 && index < FolderCount() ? m_entries[static_cast<std::size_t>(index)].name
                                             : QString();
}

QRect CFolderListCtrl::VisibleCellRect(int index) const {
  return CellRect(index).translated(-m_offsetX, -m_offsetY);
}

void CFolderListCtrl::Select(int index) {
  if (index < 0 || index >= FolderCount()) {
    return;
  }
  m_selected = index;
  const QRect cell = CellRect(index);
  // Scrolled only as far as needed to bring the whole cell into sight.
  if (m_scrollBar->isVisible()) {
    // The cell's bottom edge is exclusive, as the slider's range is counted.
    if (cell.top() - m_offsetY < kGridTop) {
      ScrollTo(cell.top() - kGridTop);
    } else if (cell.bottom() + 1 - m_offsetY > kVisibleHeight) {
      ScrollTo(cell.bottom() + 1 - kVisibleHeight);
    }
  }
  update();
  NotifySelected();
}

void CFolderListCtrl::Open(int index) {
  if (index < 0 || index >= FolderCount()) {
    return;
  }
  Select(index);
  PostMessage(ParentHandleOf(this), WM_SKIN_ITEM_OPEN, static_cast<WPARAM>(index), 0);
}

void CFolderListCtrl::NotifyEntriesChanged() {
  if (QAccessible::isActive()) {
    QAccessibleEvent event(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&event);
  }
}

void CFolderListCtrl::NotifySelected() {
  if (QAccessible::isActive() && m_selected >= 0) {
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(m_selected);
    QAccessible::updateAccessibility(&selection);
    if (hasFocus()) {
      QAccessibleEvent focus(this, QAccessible::Focus);
      focus.setChild(m_selected);
      QAccessible::updateAccessibility(&focus);
    }
  }
}

QString CFolderListCtrl::DisplayName(int index) const {
  return index >= 0 && index < FolderCount() ? m_entries[static_cast<std::size_t>(index)].shown
                                             : QString();
}

QRect CFolderListCtrl::CellRect(int index) const {
  return index >= 0 && index < FolderCount() ? m_entries[static_cast<std::size_t>(index)].cell
                                             : QRect();
}

int CFolderListCtrl::EntryAt(QPoint point) const {
  const QPoint content = point + QPoint(m_offsetX, m_offsetY);
  for (int i = 0; i < FolderCount(); ++i) {
    if (m_entries[static_cast<std::size_t>(i)].cell.contains(content)) {
      return i;
    }
  }
  return -1;
}

void CFolderListCtrl::paintEvent(QPaintEvent *event) {
  if (m_entries.empty()) {
    return;
  }
  const QRect clip = event->rect() & QRect(0, 0, width() - kScrollBarWidth, height());
  // Only the cells in sight are drawn: the others lie wholly outside the clip.
  const QRect visible = clip.translated(m_offsetX, m_offsetY);
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setClipRect(clip);
  painter.translate(-m_offsetX, -m_offsetY);
  painter.setFont(skin::SkinFont(kNameHeight));
  painter.setPen(skin::SkinColor(skin::kTextNormal));
  for (int i = 0; i < FolderCount(); ++i) {
    const Entry &entry = m_entries[static_cast<std::size_t>(i)];
    if (!entry.cell.intersects(visible)) {
      continue;
    }
    if (i == m_selected && !m_highlight.IsNull()) {
      painter.drawPixmap(QRect(entry.cell.topLeft(), QSize(kCellSize, kCellSize)),
                         m_highlight.Pixmap());
    }
    if (!m_folder.IsNull()) {
      const QPoint at = entry.cell.topLeft() + QPoint((entry.cell.width() - kFolderImageSize) / 2,
                                                      (entry.cell.height() - kFolderImageSize) / 2);
      painter.drawPixmap(QRect(at, QSize(kFolderImageSize, kFolderImageSize)), m_folder.Pixmap());
    }
    painter.drawText(entry.cell.adjusted(0, 0, 0, -kNameBottomInset),
                     Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine, entry.shown);
    if (i == m_selected && hasFocus()) {
      painter.save();
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setPen(QPen(skin::SkinColor(skin::kTextAccent), 1.0));
      painter.setBrush(Qt::NoBrush);
      painter.drawRoundedRect(QRectF(entry.cell).adjusted(0.5, 0.5, -0.5, -0.5), kFocusFrameRadius,
                              kFocusFrameRadius);
      painter.restore();
    }
  }
}

void CFolderListCtrl::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  m_scrollBar->setGeometry(kScrollBarRect);
}

void CFolderListCtrl::mousePressEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton) {
    m_pressed = true;
    m_pressPoint = event->position().toPoint();
  }
  QWidget::mousePressEvent(event);
}

void CFolderListCtrl::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  const bool click = m_pressed && event->position().toPoint() == m_pressPoint;
  m_pressed = false;
  if (click) {
    if (const int hit = EntryAt(m_pressPoint); hit >= 0) {
      m_selected = hit;
      NotifySelected();
    }
    update();
  }
  event->accept();
}

void CFolderListCtrl::mouseDoubleClickEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mouseDoubleClickEvent(event);
    return;
  }
  // The press of a double-click is also the start of a click.
  m_pressed = true;
  m_pressPoint = event->position().toPoint();
  const int hit = EntryAt(m_pressPoint);
  if (hit >= 0) {
    m_selected = hit;
    update();
    PostMessage(ParentHandleOf(this), WM_SKIN_ITEM_OPEN, static_cast<WPARAM>(hit), 0);
  }
  event->accept();
}

void CFolderListCtrl::wheelEvent(QWheelEvent *event) {
  if (!m_scrollBar->isVisible()) {
    QWidget::wheelEvent(event);
    return;
  }
  const int notches = event->angleDelta().y() / kWheelNotch;
  ScrollTo(m_offsetY - notches * kWheelStep);
  event->accept();
}

void CFolderListCtrl::keyPressEvent(QKeyEvent *event) {
  const int count = FolderCount();
  if (count == 0 || event->modifiers() != Qt::NoModifier) {
    QWidget::keyPressEvent(event);
    return;
  }
  const int current = m_selected >= 0 && m_selected < count ? m_selected : 0;
  int next = -1;
  switch (event->key()) {
  case Qt::Key_Left:
    next = current - 1;
    break;
  case Qt::Key_Right:
    next = current + 1;
    break;
  case Qt::Key_Up:
    next = current - kColumns;
    break;
  case Qt::Key_Down:
    next = current + kColumns;
    break;
  case Qt::Key_Home:
    next = 0;
    break;
  case Qt::Key_End:
    next = count - 1;
    break;
  case Qt::Key_Space:
  case Qt::Key_Select:
    next = current;
    break;
  case Qt::Key_Return:
  case Qt::Key_Enter:
    Open(current);
    event->accept();
    return;
  default:
    QWidget::keyPressEvent(event);
    return;
  }
  if (next >= 0 && next < count) {
    Select(next);
  }
  event->accept(); // an arrow at the edge stays in the grid
}

void CFolderListCtrl::focusInEvent(QFocusEvent *event) {
  QWidget::focusInEvent(event);
  if (m_selected < 0 || m_selected >= FolderCount()) {
    Select(0); // the focus always has an entry to show
  } else {
    NotifySelected();
  }
  update();
}

void CFolderListCtrl::focusOutEvent(QFocusEvent *event) {
  QWidget::focusOutEvent(event);
  update();
}

void CFolderListCtrl::ScrollTo(int offset) {
  offset = std::clamp(offset, m_scrollBar->minimum(), m_scrollBar->maximum());
  m_scrollBar->setValue(offset);
  m_offsetY = offset;
  update();
}

} // namespace corvesta
