#include "ui/skin/gdip_button.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/skin/control_id.h"
#include "ui/skin/skin_colors.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/skin_image_ids.h"

namespace corvesta {
namespace {

constexpr int kTextHeight = 17;
constexpr int kRadioSize = 18;
constexpr int kCheckBoxSize = 20;
constexpr int kCheckMarkSize = 22;
constexpr int kTextGap = 3;
constexpr std::uint32_t kStyleBit0 = 0x1;
constexpr std::uint32_t kStyleBit1 = 0x2;
constexpr std::uint32_t kStyleBit3 = 0x8;

} // namespace

CGdipButton::CGdipButton(ButtonKind kind, QWidget *parent) : CSkinButton(parent), m_kind(kind) {
  setFont(skin::SkinFont(kTextHeight));
  if (m_kind != ButtonKind::PushButton) {
    setCheckable(true);
    setAutoExclusive(false);
  }
  if (m_kind == ButtonKind::RadioButton) {
    SetRadioStyle();
  }
}

ButtonKind CGdipButton::KindFromStyle(std::uint32_t style) {
  if ((style & (kStyleBit0 | kStyleBit1)) == (kStyleBit0 | kStyleBit1)) {
    return ButtonKind::CheckBox;
  }
  if ((style & (kStyleBit0 | kStyleBit3)) == (kStyleBit0 | kStyleBit3)) {
    return ButtonKind::RadioButton;
  }
  return ButtonKind::PushButton;
}

bool CGdipButton::LoadImages(int normal, int hover, int pressed) {
  m_disabledNormal.Invalidate();
  m_disabledPressed.Invalidate();
  const bool a = m_normal.LoadFromResource(normal);
  const bool b = m_hover.LoadFromResource(hover);
  const bool c = m_pressed.LoadFromResource(pressed);
  m_imagesLoaded = a && b && c;
  update();
  return m_imagesLoaded;
}

void CGdipButton::SetCheck(bool checked) {
  // Push buttons are not checkable, so this leaves them unchecked.
  setChecked(checked);
  update();
}

void CGdipButton::nextCheckState() {
  if (m_kind == ButtonKind::RadioButton) {
    Choose(); // a click on a radio button only ever sets it
  } else {
    QAbstractButton::nextCheckState();
  }
}

QSize CGdipButton::sizeHint() const {
  QFontMetrics metrics(font());
  const int textWidth = metrics.horizontalAdvance(text());
  switch (m_kind) {
  case ButtonKind::CheckBox:
    return {kCheckMarkSize + kTextGap + textWidth, kCheckMarkSize};
  case ButtonKind::RadioButton:
    return {kRadioSize + kTextGap + textWidth, kRadioSize + 2};
  case ButtonKind::PushButton:
    break;
  }
  return m_normal.IsNull() ? QSize(textWidth + 24, metrics.height() + 12) : m_normal.Size();
}

skin::TextRoom CGdipButton::Room() const {
  if (m_kind == ButtonKind::PushButton) {
    return {text(), font(), rect(), Qt::AlignCenter | Qt::TextSingleLine};
  }
  const int textLeft = (m_imagesLoaded ? m_normal.Width() : 0) + kTextGap;
  return {text(), font(), QRect(textLeft, 0, std::max(0, width() - textLeft), height()),
          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine};
}

std::vector<skin::TextRoom> CGdipButton::TextRooms() const {
  if (!DrawsText()) {
    return {};
  }
  return {Room()};
}

void CGdipButton::DrawImage(QPainter &painter, const CGdiPlusBitmap &image, QRect area) {
  if (!image.IsNull()) {
    painter.drawPixmap(area, image.Pixmap());
  }
}

void CGdipButton::PaintPushButton(QPainter &painter) {
  const QRect area = rect();
  if (m_imagesLoaded) {
    if (!isEnabled()) {
      painter.drawPixmap(area, m_disabledNormal.Get(m_normal.Pixmap(), area.size()));
    } else if (isDown() || isChecked()) {
      DrawImage(painter, m_pressed, area);
    } else if (IsHovered()) {
      DrawImage(painter, m_hover, area);
    } else {
      DrawImage(painter, m_normal, area);
    }
  }
  if (DrawsText()) {
    painter.setPen(skin::SkinColor(isEnabled() ? skin::kTextNormal : skin::kTextDisabled));
    skin::DrawFittedText(painter, Room());
  }
  DrawFocusFrame(painter, area);
}

void CGdipButton::PaintMark(QPainter &painter) {
  const bool radio = m_kind == ButtonKind::RadioButton;
  const int size = radio ? kRadioSize : kCheckBoxSize;
  // The mark sits at the left, centred on the button's height.
  const int top = std::max(0, (height() - size) / 2);
  const QRect box(0, top, size, size);
  if (m_imagesLoaded) {
    if (radio) {
      // A disabled radio keeps showing whether it is the chosen one.
      if (!isEnabled()) {
        painter.drawPixmap(box, isChecked() ? m_disabledPressed.Get(m_pressed.Pixmap(), box.size())
                                            : m_disabledNormal.Get(m_normal.Pixmap(), box.size()));
      } else {
        DrawImage(painter, isChecked() ? m_pressed : m_normal, box);
      }
    } else {
      const QRect mark(0, top, kCheckMarkSize, kCheckMarkSize);
      if (!isEnabled()) {
        painter.drawPixmap(box, m_disabledNormal.Get(m_normal.Pixmap(), box.size()));
        if (isChecked()) {
          painter.drawPixmap(mark, m_disabledPressed.Get(m_pressed.Pixmap(), mark.size()));
        }
      } else {
        DrawImage(painter, m_normal, box);
        if (isChecked()) {
          DrawImage(painter, m_pressed, mark);
        }
      }
    }
  }
  const skin::TextRoom room = Room();
  const QRect textArea = room.room;
  if (DrawsText()) {
    painter.setPen(skin::SkinColor(isEnabled() ? skin::kTextNormal : skin::kTextDisabled));
    skin::DrawFittedText(painter, room);
  }
  if (HasKeyboardFocus()) {
    QFontMetrics metrics(font());
    QRect frame = metrics.boundingRect(textArea, Qt::AlignLeft | Qt::AlignVCenter, text());
    DrawFocusFrame(painter, frame.adjusted(-2, -1, 2, 1).intersected(rect()));
  }
}

void CGdipButton::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setFont(font());
  if (m_kind == ButtonKind::PushButton) {
    PaintPushButton(painter);
  } else {
    PaintMark(painter);
  }
}

CGdipButton *MakeTextButton(QWidget *parent, int id, QRect where, const QString &text) {
  auto *button = new CGdipButton(ButtonKind::PushButton, parent);
  SetDlgCtrlID(button, id);
  button->LoadImages(skin::kTextButtonNormal, skin::kTextButtonActive, skin::kTextButtonActive);
  button->setGeometry(where);
  button->setText(text);
  button->setAccessibleName(text);
  return button;
}

} // namespace corvesta
