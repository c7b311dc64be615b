#include "ui/skin/gdip_combo_box.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>

#include "ui/skin/skin_accessibility.h"
#include "ui/skin/skin_colors.h"
#include "ui/skin/skin_font.h"

namespace corvesta {
namespace {

constexpr int kTextHeight = 16;
constexpr int kItemHeight = 24;
constexpr int kTextInset = 6;
constexpr int kArrowSpace = 32;
constexpr int kItemIndent = 6;

void PaintHighlight(QPainter &painter, const QRect &area, const QPalette &palette) {
  painter.fillRect(area, palette.color(QPalette::Highlight));
  painter.setPen(palette.color(QPalette::Highlight).darker(115));
  painter.drawRect(area.adjusted(0, 0, -1, -1));
  painter.setPen(palette.color(QPalette::HighlightedText));
}

} // namespace

CGdipComboBox::CGdipComboBox(QWidget *parent) : QComboBox(parent) {
  setFont(skin::SkinFont(kTextHeight));
  setItemDelegate(new CGdipComboItemDelegate(this));
  setFocusPolicy(Qt::StrongFocus);
  InstallSkinAccessibility();
}

bool CGdipComboBox::SetFaceImage(int id) {
  m_disabledFace.Invalidate();
  const bool loaded = m_face.LoadFromResource(id);
  update();
  return loaded;
}

QRect CGdipComboBox::TextRect() const {
  return QRect(QPoint(kTextInset, kTextInset),
               QPoint(width() - kArrowSpace - 1, height() - kTextInset - 1));
}

QSize CGdipComboBox::sizeHint() const {
  return m_face.IsNull() ? QSize(200, kItemHeight + 2 * kTextInset) : m_face.Size();
}

QSize CGdipComboBox::minimumSizeHint() const {
  return sizeHint();
}

void CGdipComboBox::changeEvent(QEvent *event) {
  if (event->type() == QEvent::EnabledChange) {
    update();
  }
  QComboBox::changeEvent(event);
}

std::vector<skin::TextRoom> CGdipComboBox::TextRooms() const {
  return {{currentText(), font(), TextRect().adjusted(2, 0, -2, 0),
           Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, true}};
}

void CGdipComboBox::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (!m_face.IsNull()) {
    const QRect face(QPoint(0, 0), m_face.Size().boundedTo(size()));
    if (isEnabled()) {
      painter.drawPixmap(face, m_face.Pixmap());
    } else {
      painter.drawPixmap(face, m_disabledFace.Get(m_face.Pixmap(), face.size()));
    }
  }
  const QRect textArea = TextRect();
  painter.setFont(font());
  if (hasFocus() && isEnabled()) {
    PaintHighlight(painter, textArea, palette());
  } else {
    painter.setPen(skin::SkinColor(isEnabled() ? skin::kTextComboFace : skin::kTextDisabled));
  }
  skin::DrawFittedText(painter, TextRooms().front());
}

void CGdipComboItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const {
  painter->save();
  const QRect area = option.rect;
  if (option.state & QStyle::State_Selected) {
    PaintHighlight(*painter, area, option.palette);
  } else {
    painter->fillRect(area, option.palette.color(QPalette::Base));
    painter->setPen(skin::SkinColor(skin::kTextComboFace));
  }
  painter->setFont(skin::SkinFont(kTextHeight));
  painter->drawText(area.adjusted(kItemIndent, 0, -kItemIndent, 0),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
  painter->restore();
}

QSize CGdipComboItemDelegate::sizeHint(const QStyleOptionViewItem &option,
                                       const QModelIndex &index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  return {size.width(), kItemHeight};
}

} // namespace corvesta
