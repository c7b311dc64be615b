#pragma once
// Helpers of the skin tests: a black stage to put controls on, so that what a
// control draws can be read back pixel by pixel.

#include <QImage>
#include <QPalette>
#include <QWidget>

namespace corvesta::test {

// An opaque black widget; controls placed on it are rendered over black.
inline QWidget *MakeBlackStage(QSize size) {
  auto *stage = new QWidget;
  stage->resize(size);
  QPalette palette = stage->palette();
  palette.setColor(QPalette::Window, Qt::black);
  stage->setPalette(palette);
  stage->setAutoFillBackground(true);
  return stage;
}

// The stage rendered at device pixel ratio 1, cut to one child's rectangle.
inline QImage RenderChild(QWidget *stage, QWidget *child) {
  QImage image(stage->size(), QImage::Format_ARGB32);
  image.fill(Qt::black);
  stage->render(&image);
  return image.copy(child->geometry());
}

inline bool Near(int a, int b, int tolerance) {
  return a - b <= tolerance && b - a <= tolerance;
}

} // namespace corvesta::test
