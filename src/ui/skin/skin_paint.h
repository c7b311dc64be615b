#pragma once
// Painting helpers shared by the skinned controls: the half-transparent
// rendering of disabled images, kept once made, and the piece arithmetic of
// the bars that are drawn from an end, a repeated middle piece and another end.

#include <QPixmap>
#include <vector>

class QPainter;

namespace corvesta::skin {

// Opacity of images in disabled controls.
inline constexpr qreal kDisabledOpacity = 0.5;

// The image scaled to `size` (device-independent pixels) with every pixel's
// alpha halved and its colour kept.
QPixmap MakeDisabledImage(const QPixmap &image, QSize size);

// A disabled rendering made on first use and kept until Invalidate (called
// when the control's images are reloaded) or a request at another size.
class CDisabledImageCache {
public:
  const QPixmap &Get(const QPixmap &image, QSize size);
  void Invalidate() { m_valid = false; }
  bool IsValid() const { return m_valid; }

private:
  QPixmap m_rendering;
  QSize m_size;
  bool m_valid = false;
};

// The filled length of a bar `length` pixels long at `position` in
// [minimum, maximum], rounded; the position is clamped to the range. When the
// range is empty (minimum equal to maximum) the bar is full.
int FilledLength(int position, int minimum, int maximum, int length);

enum class PieceKind { Start, Middle, End };

struct BarPiece {
  PieceKind kind;
  int offset; // from the start of the bar along its length
  int length;
  bool operator==(const BarPiece &) const = default;
};

// The pieces of a bar filled `filled` pixels, from 10-pixel end and middle
// pieces: below 10 the start piece squeezed to the filled length; up to
// `lastMiddleEnd` the start piece and middle pieces with a partial one last;
// beyond it the start piece, middle pieces up to `lastMiddleEnd` and the end
// piece from there, as long as what remains. Pieces of length 0 are left out.
std::vector<BarPiece> BarPieces(int filled, int lastMiddleEnd);

// The progress bar's pieces: middle pieces end at 347 pixels.
inline constexpr int kProgressLastMiddleEnd = 347;
// The slider's pieces: middle pieces end at 190 pixels.
inline constexpr int kSliderLastMiddleEnd = 190;

} // namespace corvesta::skin
