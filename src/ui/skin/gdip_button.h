#pragma once
// The general skinned button: a push button, check box or radio button drawn
// from three images (normal, hover, pressed; the pressed image is also the
// checked mark) with white text, grey when disabled.

#include <cstdint>

#include "ui/skin/gdiplus_bitmap.h"
#include "ui/skin/skin_button.h"
#include "ui/skin/skin_paint.h"

namespace corvesta {

enum class ButtonKind { PushButton = 0, CheckBox = 2, RadioButton = 4 };

class CGdipButton : public CSkinButton {
  Q_OBJECT
public:
  explicit CGdipButton(ButtonKind kind = ButtonKind::PushButton, QWidget *parent = nullptr);

  // The kind a button style asks for: bits 0 and 1 set a check box, else
  // bits 0 and 3 a radio button, anything else a push button.
  static ButtonKind KindFromStyle(std::uint32_t style);

  ButtonKind Kind() const { return m_kind; }

  // False, leaving the images-loaded flag off, when any image is missing;
  // the text is still drawn then.
  bool LoadImages(int normal, int hover, int pressed);
  bool ImagesLoaded() const { return m_imagesLoaded; }

  // The check state. On a push button SetCheck always leaves it unchecked.
  void SetCheck(bool checked);
  bool GetCheck() const { return isChecked(); }

  QSize sizeHint() const override;
  std::vector<skin::TextRoom> TextRooms() const override;

protected:
  void paintEvent(QPaintEvent *event) override;
  void nextCheckState() override;

private:
  void PaintPushButton(QPainter &painter);
  void PaintMark(QPainter &painter);
  void DrawImage(QPainter &painter, const CGdiPlusBitmap &image, QRect area);
  // The text's room: the whole face of a push button, right of the mark of
  // a check box or radio button.
  skin::TextRoom Room() const;

  ButtonKind m_kind;
  CGdiPlusBitmapResource m_normal;
  CGdiPlusBitmapResource m_hover;
  CGdiPlusBitmapResource m_pressed;
  bool m_imagesLoaded = false;
  skin::CDisabledImageCache m_disabledNormal;
  skin::CDisabledImageCache m_disabledPressed;
};

// A dialog's push button with the skin's text-button faces: `text` (already
// translated) is shown and is its accessible name.
CGdipButton *MakeTextButton(QWidget *parent, int id, QRect where, const QString &text);

} // namespace corvesta
