#pragma once
// A shortcut of the main window (Wizard, Folder, the web centers): an icon
// and a name on a strip that lights up under the mouse and stays lit while
// its center is the selected one.

#include "ui/skin/gdiplus_bitmap.h"
#include "ui/skin/skin_button.h"
#include "ui/skin/skin_paint.h"

namespace corvesta {

class CShortCutButton : public CSkinButton {
  Q_OBJECT
public:
  explicit CShortCutButton(QWidget *parent = nullptr);

  bool LoadImages(int normalBackground, int pressedBackground, int hoverBackground, int icon,
                  int highlightedIcon);
  bool ImagesLoaded() const { return m_imagesLoaded; }

  void SetSelected(bool selected);
  bool IsSelected() const { return m_selected; }

  std::vector<skin::TextRoom> TextRooms() const override;

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  CGdiPlusBitmapResource m_normal;
  CGdiPlusBitmapResource m_pressed;
  CGdiPlusBitmapResource m_hover;
  CGdiPlusBitmapResource m_icon;
  CGdiPlusBitmapResource m_iconLit;
  bool m_imagesLoaded = false;
  bool m_selected = false;
  skin::CDisabledImageCache m_disabled;
};

} // namespace corvesta
