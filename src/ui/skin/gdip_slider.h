#pragma once
// The skinned vertical slider that serves the folder list as its scroll bar:
// a channel and, from the top, a fill made of a top piece, 10-pixel middle
// pieces and a bottom piece. A press jumps to the point and dragging follows
// the mouse; the wheel and the arrow keys move one step, Page Up and Page
// Down a page, Home and End to the ends. Each change is reported through
// Scrolled with the scroll bar's codes.

#include <QSlider>

#include "ui/skin/gdiplus_bitmap.h"

namespace corvesta {

// The scroll codes of the notifications (as the system's scroll bars).
enum class ScrollCode {
  LineUp = 0,
  LineDown = 1,
  PageUp = 2,
  PageDown = 3,
  ThumbPosition = 4,
  ThumbTrack = 5,
  Top = 6,
  Bottom = 7
};

class CGdipSlider : public QSlider {
  Q_OBJECT
public:
  // Loads the channel and the three pieces at once.
  explicit CGdipSlider(QWidget *parent = nullptr);

  bool ImagesLoaded() const { return m_imagesLoaded; }
  // The filled length at the current position and height.
  int FilledLength() const;
  // The position for a point in the slider: the nearest step for the point's
  // share of the slider's height.
  int PositionAt(QPoint point) const;

Q_SIGNALS:
  void Scrolled(corvesta::ScrollCode code, int position);

protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void wheelEvent(QWheelEvent *event) override;

private:
  void MoveTo(int position, ScrollCode code);
  void ReportKeyAction(int action);

  CGdiPlusBitmapResource m_channel;
  CGdiPlusBitmapResource m_top;
  CGdiPlusBitmapResource m_middle;
  CGdiPlusBitmapResource m_bottom;
  bool m_imagesLoaded = false;
  bool m_pressed = false;
  bool m_moved = false;
  int m_wheelRemainder = 0;
};

} // namespace corvesta
