#pragma once
// One skin image, loaded by id from the resources ":/skin/<id>.png". On a
// screen of device pixel ratio above 1 the "@2x" twin is loaded instead, so
// the image keeps its size in device-independent pixels and draws crisp.

#include <QPixmap>

namespace corvesta {

class CGdiPlusBitmap {
public:
  CGdiPlusBitmap() = default;
  virtual ~CGdiPlusBitmap() = default;
  CGdiPlusBitmap(const CGdiPlusBitmap &) = default;
  CGdiPlusBitmap &operator=(const CGdiPlusBitmap &) = default;

  bool IsNull() const { return m_pixmap.isNull(); }
  const QPixmap &Pixmap() const { return m_pixmap; }
  // Size in device-independent pixels; empty when nothing is loaded.
  QSize Size() const { return m_pixmap.deviceIndependentSize().toSize(); }
  int Width() const { return Size().width(); }
  int Height() const { return Size().height(); }
  void Release() { m_pixmap = QPixmap(); }

protected:
  QPixmap m_pixmap;
};

class CGdiPlusBitmapResource : public CGdiPlusBitmap {
public:
  CGdiPlusBitmapResource() = default;
  // Loads at once; check IsNull.
  explicit CGdiPlusBitmapResource(int id) { LoadFromResource(id); }

  // Releases the current image, then loads the id for the screen's pixel
  // ratio. False, with nothing loaded, when there is no such image.
  bool LoadFromResource(int id);
  // The same for an explicit device pixel ratio (1 or 2 and above).
  bool LoadFromResource(int id, qreal devicePixelRatio);

  // The id last loaded successfully, 0 when none.
  int Id() const { return m_id; }

  // The resource path of an id at a device pixel ratio.
  static QString ResourcePath(int id, qreal devicePixelRatio);
  // The largest device pixel ratio among the screens, 1 without a GUI.
  static qreal ScreenPixelRatio();

private:
  int m_id = 0;
};

} // namespace corvesta
