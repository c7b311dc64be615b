#include "ui/skin/shortcut_button.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/skin/skin_colors.h"
#include "ui/skin/skin_font.h"

namespace corvesta {
namespace {

constexpr int kIconSize = 52;
constexpr int kTextLeft = 52;
constexpr int kTextHeight = 16;

} // namespace

CShortCutButton::CShortCutButton(QWidget *parent) : CSkinButton(parent) {}

bool CShortCutButton::LoadImages(int normalBackground, int pressedBackground, int hoverBackground,
                                 int icon, int highlightedIcon) {
  m_disabled.Invalidate();
  const bool a = m_normal.LoadFromResource(normalBackground);
  const bool b = m_pressed.LoadFromResource(pressedBackground);
  const bool c = m_hover.LoadFromResource(hoverBackground);
  const bool d = m_icon.LoadFromResource(icon);
  const bool e = m_iconLit.LoadFromResource(highlightedIcon);
  m_imagesLoaded = a && b && c && d && e;
  update();
  return m_imagesLoaded;
}

void CShortCutButton::SetSelected(bool selected) {
  m_selected = selected;
  update();
}

namespace {

// A name too long for one line (the longer languages) takes two; what still
// does not fit ends in an ellipsis rather than being cut.
skin::TextRoom ShortcutRoom(const QString &text, const QSize &size, bool strong) {
  return {text, skin::SkinFont(kTextHeight, strong ? skin::kWeightBold : skin::kWeightRegular),
          QRect(kTextLeft, 0, std::max(0, size.width() - kTextLeft), size.height()),
          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap};
}

} // namespace

std::vector<skin::TextRoom> CShortCutButton::TextRooms() const {
  if (!DrawsText()) {
    return {};
  }
  // Bold, the wider, under the mouse and with the focus.
  return {ShortcutRoom(text(), size(), false), ShortcutRoom(text(), size(), true)};
}

void CShortCutButton::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const bool enabled = isEnabled();
  const bool pressed = enabled && isDown();
  const bool focused = enabled && hasFocus();
  const bool hovered = enabled && IsHovered();
  if (m_imagesLoaded) {
    if (!enabled) {
      painter.drawPixmap(rect(), m_disabled.Get(m_normal.Pixmap(), size()));
    } else if (pressed || focused || m_selected) {
      painter.drawPixmap(rect(), m_pressed.Pixmap());
    } else if (hovered) {
      painter.drawPixmap(rect(), m_hover.Pixmap());
    } else {
      painter.drawPixmap(rect(), m_normal.Pixmap());
    }
    const QRect icon(0, 0, kIconSize, kIconSize);
    if (!enabled) {
      painter.setOpacity(skin::kDisabledOpacity);
    }
    painter.drawPixmap(icon, ((pressed || hovered) ? m_iconLit : m_icon).Pixmap());
    painter.setOpacity(1.0);
  }
  if (DrawsText()) {
    const bool strong = pressed || focused || hovered;
    // An entry that can be used reads plainly; a disabled one is dimmed
    // like its icon, so that the two cannot be mistaken for each other.
    if (strong || (enabled && m_selected)) {
      painter.setPen(skin::SkinColor(skin::kTextAccent));
    } else if (enabled) {
      painter.setPen(skin::SkinColor(skin::kTextShortcut));
    } else {
      painter.setPen(skin::SkinColor(skin::kTextDisabled));
      painter.setOpacity(skin::kDisabledOpacity);
    }
    skin::DrawFittedText(painter, ShortcutRoom(text(), size(), strong));
  }
  DrawFocusFrame(painter, rect());
}

} // namespace corvesta
