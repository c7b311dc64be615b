#pragma once
// A menu-like item with a fine line along its bottom edge (the settings
// dialog's page tab): its text steps 25 pixels right and turns light blue
// under the mouse.

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

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  CGdiPlusBitmapResource m_underline;
};

} // namespace corvesta
