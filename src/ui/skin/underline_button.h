#pragma once
// A menu-like item with a fine line along its bottom edge (the settings
// dialog's page tab): its text steps 25 pixels right and turns light blue
// under the mouse. A text too long for one line takes more, upwards from the
// line; the tab's owner makes it as high as HeightFor says.

#include "ui/skin/gdiplus_bitmap.h"
#include "ui/skin/skin_button.h"

namespace corvesta {

class CUnderLineButton : public CSkinButton {
  Q_OBJECT
public:
  // Loads the underline image at once.
  explicit CUnderLineButton(QWidget *parent = nullptr);

  bool ImagesLoaded() const { return !m_underline.IsNull(); }
  // Where the text starts: 60 pixels in, 85 while hovered.
  int TextLeft() const;
  // The height a tab of `width` needs for its text, hovered, when one line
  // of it is `oneLineHeight` high: that height plus a line for every further
  // line of the wrapped text.
  int HeightFor(int width, int oneLineHeight) const;

  std::vector<skin::TextRoom> TextRooms() const override;

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  skin::TextRoom Room(int left) const;

  CGdiPlusBitmapResource m_underline;
};

} // namespace corvesta
