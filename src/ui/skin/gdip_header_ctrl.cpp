#include "ui/skin/gdip_header_ctrl.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/skin/skin_colors.h"
#include "ui/skin/skin_font.h"

namespace corvesta {
namespace {

constexpr int kTitleHeight = 18;
constexpr int kTitleInset = 5;
constexpr int kRuleWidth = 2;
constexpr int kRuleAboveBottom = 2;
constexpr int kTitleMaxLength = 255;

} // namespace

CGdipHeaderCtrl::CGdipHeaderCtrl(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {
  setSectionsClickable(false);
  setSectionsMovable(false);
  setHighlightSections(false);
  setSortIndicatorShown(false);
  setSectionResizeMode(QHeaderView::Fixed);
  setStretchLastSection(false);
  setFixedHeight(kHeight);
  setAutoFillBackground(false);
  viewport()->setAutoFillBackground(false);
  setFrameShape(QFrame::NoFrame);
}

int CGdipHeaderCtrl::TitleWidth(const QString &title) {
  const QFontMetrics metrics(skin::SkinFont(kTitleHeight, skin::kWeightBold));
  // The width a line of it is drawn in, which may pass its advance.
  const QString shown = title.left(kTitleMaxLength);
  return std::max(metrics.horizontalAdvance(shown),
                  metrics.boundingRect(QRect(), Qt::TextSingleLine, shown).width()) +
         2 * kTitleInset;
}

QSize CGdipHeaderCtrl::sizeHint() const {
  return {QHeaderView::sizeHint().width(), kHeight};
}

std::vector<skin::TextRoom> CGdipHeaderCtrl::TextRooms() const {
  std::vector<skin::TextRoom> rooms;
  const int h = viewport()->height();
  const QPoint offset = viewport()->geometry().topLeft();
  for (int visual = 0; visual < count(); ++visual) {
    const int logical = logicalIndex(visual);
    if (isSectionHidden(logical)) {
      continue;
    }
    const QRect section(sectionViewportPosition(logical), 0, sectionSize(logical), h);
    if (section.isEmpty() || model() == nullptr) {
      continue;
    }
    const QString title = model()
                              ->headerData(logical, orientation(), Qt::DisplayRole)
                              .toString()
                              .left(kTitleMaxLength);
    const QVariant alignment = model()->headerData(logical, orientation(), Qt::TextAlignmentRole);
    const Qt::Alignment horizontal =
        alignment.isValid() ? Qt::Alignment(alignment.toInt()) & Qt::AlignHorizontal_Mask
                            : Qt::Alignment(Qt::AlignLeft);
    rooms.push_back({title, skin::SkinFont(kTitleHeight, skin::kWeightBold),
                     section.adjusted(kTitleInset, 1, -kTitleInset, -1).translated(offset),
                     static_cast<int>(horizontal | Qt::AlignVCenter) | Qt::TextSingleLine, true});
  }
  return rooms;
}

void CGdipHeaderCtrl::paintEvent(QPaintEvent *) {
  QPainter painter(viewport());
  painter.setPen(skin::SkinColor(skin::kTextNormal));
  const QPoint offset = viewport()->geometry().topLeft();
  for (skin::TextRoom room : TextRooms()) {
    room.room.translate(-offset);
    skin::DrawFittedText(painter, room);
  }
  const int h = viewport()->height();
  painter.fillRect(QRect(0, h - kRuleAboveBottom - kRuleWidth + 1, viewport()->width(), kRuleWidth),
                   skin::SkinColor(skin::kTextNormal));
}

// The header takes no part in the mouse: clicks neither sort nor resize.
void CGdipHeaderCtrl::mousePressEvent(QMouseEvent *event) {
  event->accept();
}

void CGdipHeaderCtrl::mouseReleaseEvent(QMouseEvent *event) {
  event->accept();
}

void CGdipHeaderCtrl::mouseDoubleClickEvent(QMouseEvent *event) {
  event->accept();
}

void CGdipHeaderCtrl::mouseMoveEvent(QMouseEvent *event) {
  event->accept();
}

} // namespace corvesta
