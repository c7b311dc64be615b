#pragma once
// A choice drawn as a radio mark, an icon, a title and a wrapped description
// (the disk mode page's options). Clicking it or pressing Space checks it and
// unchecks the other choices of its dialog group; the focused choice shows a
// soft panel behind it.

#include "ui/skin/gdiplus_bitmap.h"
#include "ui/skin/skin_button.h"
#include "ui/skin/skin_paint.h"

namespace corvesta {

class CIconRadioButton : public CSkinButton {
  Q_OBJECT
public:
  explicit CIconRadioButton(QWidget *parent = nullptr);

  bool LoadImages(int checkedMark, int uncheckedMark, int icon, int focusBackground);
  bool ImagesLoaded() const { return m_imagesLoaded; }

  void SetTitle(const QString &title);
  QString Title() const { return m_title; }
  void SetDescription(const QString &description);
  QString Description() const { return m_description; }

  void SetCheck(bool checked) { setChecked(checked); }
  bool GetCheck() const { return isChecked(); }

  std::vector<skin::TextRoom> TextRooms() const override;

protected:
  void paintEvent(QPaintEvent *event) override;
  void nextCheckState() override;

private:
  CGdiPlusBitmapResource m_checked;
  CGdiPlusBitmapResource m_unchecked;
  CGdiPlusBitmapResource m_icon;
  CGdiPlusBitmapResource m_focus;
  bool m_imagesLoaded = false;
  skin::CDisabledImageCache m_disabledMark;
  QString m_title;
  QString m_description;
};

} // namespace corvesta
