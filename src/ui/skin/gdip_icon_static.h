#pragma once
// A picture: one skin image stretched over the control; nothing without one.

#include <QWidget>

#include "ui/skin/gdiplus_bitmap.h"

namespace corvesta {

class CGdipIconStatic : public QWidget {
  Q_OBJECT
public:
  explicit CGdipIconStatic(QWidget *parent = nullptr);

  bool SetImage(int id);
  bool HasImage() const { return !m_image.IsNull(); }
  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  CGdiPlusBitmapResource m_image;
};

} // namespace corvesta
