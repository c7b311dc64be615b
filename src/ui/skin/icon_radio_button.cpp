#include "ui/skin/icon_radio_button.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/skin/skin_colors.h"
#include "ui/skin/skin_font.h"

namespace corvesta {
namespace {

constexpr int kMarkSize = 18;
constexpr int kIconLeft = 23;
constexpr int kIconWidth = 58;
constexpr int kIconHeight = 46;
constexpr int kTextLeft = 100;
constexpr int kTitleHeight = 16;
constexpr int kDescriptionHeight = 12;
constexpr qreal kFocusOpacity = 200.0 / 255.0;

} // namespace

CIconRadioButton::CIconRadioButton(QWidget *parent) : CSkinButton(parent) {
  setCheckable(true);
  setAutoExclusive(false);
  SetRadioStyle();
}

bool CIconRadioButton::LoadImages(int checkedMark, int uncheckedMark, int icon,
                                  int focusBackground) {
  m_disabledMark.Invalidate();
  const bool a = m_checked.LoadFromResource(checkedMark);
  const bool b = m_unchecked.LoadFromResource(uncheckedMark);
  const bool c = m_icon.LoadFromResource(icon);
  const bool d = m_focus.LoadFromResource(focusBackground);
  m_imagesLoaded = a && b && c && d;
  update();
  return m_imagesLoaded;
}

void CIconRadioButton::SetTitle(const QString &title) {
  m_title = title;
  setText(title);
  update();
}

void CIconRadioButton::SetDescription(const QString &description) {
  m_description = description;
  update();
}

void CIconRadioButton::nextCheckState() {
  Choose();
}

std::vector<skin::TextRoom> CIconRadioButton::TextRooms() const {
  if (!DrawsText()) {
    return {};
  }
  const QFont titleFont = skin::SkinFont(kTitleHeight);
  // The title's line is as high as a line of it is drawn.
  const int titleWidth = std::max(0, width() - kTextLeft);
  const int titleHeight = QFontMetrics(titleFont, this)
                              .boundingRect(QRect(0, 0, titleWidth, 0), Qt::TextSingleLine, m_title)
                              .height();
  const QRect title(kTextLeft, 0, titleWidth, titleHeight);
  const QRect description(kTextLeft, title.bottom() + 1, title.width(),
                          std::max(0, height() - title.height()));
  return {{m_title, titleFont, title, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine},
          {m_description, skin::SkinFont(kDescriptionHeight), description,
           Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap}};
}

void CIconRadioButton::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (hasFocus() && !m_focus.IsNull()) {
    painter.setOpacity(kFocusOpacity);
    painter.drawPixmap(rect(), m_focus.Pixmap());
    painter.setOpacity(1.0);
  }
  if (m_imagesLoaded) {
    const QRect mark(0, (height() - kMarkSize) / 2, kMarkSize, kMarkSize);
    if (!isEnabled()) {
      const CGdiPlusBitmap &source = isChecked() ? m_checked : m_unchecked;
      painter.drawPixmap(mark, m_disabledMark.Get(source.Pixmap(), mark.size()));
    } else {
      painter.drawPixmap(mark, (isChecked() ? m_checked : m_unchecked).Pixmap());
    }
    const QRect icon(kIconLeft, (height() - kIconHeight) / 2, kIconWidth, kIconHeight);
    if (!isEnabled()) {
      painter.setOpacity(skin::kDisabledOpacity);
    }
    painter.drawPixmap(icon, m_icon.Pixmap());
    painter.setOpacity(1.0);
  }
  if (DrawsText()) {
    painter.setPen(skin::SkinColor(isEnabled() ? skin::kTextNormal : skin::kTextDisabled));
    for (const skin::TextRoom &room : TextRooms()) {
      skin::DrawFittedText(painter, room);
    }
  }
  DrawFocusFrame(painter, rect());
}

} // namespace corvesta
