#pragma once
// The skinned progress bar: a background and, over it, the filled part built
// from a left end, 10-pixel middle pieces and a right end.

#include <QWidget>

#include "ui/skin/gdiplus_bitmap.h"

namespace corvesta {

class CGdipProcessCtrl : public QWidget {
  Q_OBJECT
public:
  explicit CGdipProcessCtrl(QWidget *parent = nullptr);

  // Background, left end, middle piece, right end. Nothing is drawn until all
  // four loaded.
  bool SetBarImages(int background, int leftEnd, int middle, int rightEnd);
  bool ImagesLoaded() const { return m_imagesLoaded; }

  void SetRange(int minimum, int maximum);
  void SetPos(int position);
  int GetPos() const { return m_position; }
  int Minimum() const { return m_minimum; }
  int Maximum() const { return m_maximum; }

  // The filled length at the current position and width.
  int FilledLength() const;

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  CGdiPlusBitmapResource m_background;
  CGdiPlusBitmapResource m_leftEnd;
  CGdiPlusBitmapResource m_middle;
  CGdiPlusBitmapResource m_rightEnd;
  bool m_imagesLoaded = false;
  int m_minimum = 0;
  int m_maximum = 100;
  int m_position = 0;
};

} // namespace corvesta
