#include "ui/skin/skin_paint.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace corvesta::skin {
namespace {

constexpr int kPieceLength = 10;

} // namespace

QPixmap MakeDisabledImage(const QPixmap &image, QSize size) {
  const qreal ratio = image.isNull() ? 1.0 : image.devicePixelRatio();
  QImage rendering(size * ratio, QImage::Format_ARGB32_Premultiplied);
  rendering.setDevicePixelRatio(ratio);
  rendering.fill(Qt::transparent);
  if (!image.isNull() && !size.isEmpty()) {
    QPainter painter(&rendering);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setOpacity(kDisabledOpacity);
    painter.drawPixmap(QRect(QPoint(0, 0), size), image);
  }
  return QPixmap::fromImage(rendering);
}

const QPixmap &CDisabledImageCache::Get(const QPixmap &image, QSize size) {
  if (!m_valid || size != m_size) {
    m_rendering = MakeDisabledImage(image, size);
    m_size = size;
    m_valid = true;
  }
  return m_rendering;
}

int FilledLength(int position, int minimum, int maximum, int length) {
  if (maximum == minimum) {
    return length;
  }
  if (maximum < minimum) {
    std::swap(minimum, maximum);
  }
  position = std::clamp(position, minimum, maximum);
  const double fraction =
      static_cast<double>(position - minimum) / static_cast<double>(maximum - minimum);
  return static_cast<int>(std::lround(fraction * length));
}

std::vector<BarPiece> BarPieces(int filled, int lastMiddleEnd) {
  std::vector<BarPiece> pieces;
  if (filled <= 0) {
    return pieces;
  }
  if (filled < kPieceLength) {
    pieces.push_back({PieceKind::Start, 0, filled});
    return pieces;
  }
  pieces.push_back({PieceKind::Start, 0, kPieceLength});
  const int middleEnd = std::min(filled, lastMiddleEnd);
  for (int offset = kPieceLength; offset < middleEnd; offset += kPieceLength) {
    pieces.push_back({PieceKind::Middle, offset, std::min(kPieceLength, middleEnd - offset)});
  }
  if (filled > lastMiddleEnd) {
    pieces.push_back({PieceKind::End, lastMiddleEnd, filled - lastMiddleEnd});
  }
  return pieces;
}

} // namespace corvesta::skin
