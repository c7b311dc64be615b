#pragma once
// One skin image, loaded by id from the resources ":/skin/<id>.png". On a
// screen of device pixel ratio above 1 the "@2x" twin is loaded instead, so
// the image keeps its size in device-independent pixels and draws crisp.
// Loading only finds the image; it is decoded when first drawn, so a window
// starts without decoding what it does not show yet (hover and pressed
// faces, hidden panels). Its size is known from the skin's table before.
// A large image a window shows at once (its background) can be decoded
// ahead on a thread of its own while the window builds its controls.
// Decoded images are kept in the pixmap cache, so a window opened again
// finds its images decoded.

#include <QImage>
#include <QPixmap>
#include <future>

namespace corvesta {

class CGdiPlusBitmap {
public:
  CGdiPlusBitmap() = default;
  virtual ~CGdiPlusBitmap() = default;
  CGdiPlusBitmap(const CGdiPlusBitmap &) = default;
  CGdiPlusBitmap &operator=(const CGdiPlusBitmap &) = default;

  bool IsNull() const { return m_path.isEmpty() && m_pixmap.isNull(); }
  // The image, decoded now if it was not yet (or taken from the decoding
  // ahead, waiting for it to end).
  const QPixmap &Pixmap() const;
  // Starts decoding the image on a thread of its own, unless it is decoded
  // or cached already. Destroying or releasing the image waits for that
  // thread, which only decodes.
  void DecodeAhead();
  // Size in device-independent pixels; empty when nothing is loaded.
  QSize Size() const;
  int Width() const { return Size().width(); }
  int Height() const { return Size().height(); }
  void Release();

protected:
  // Keeps the image's resource path for decoding at first use; `size` is
  // its size in device-independent pixels when known (else the decoded
  // image tells).
  void SetSource(QString path, qreal devicePixelRatio, QSize size);

private:
  mutable QPixmap m_pixmap;
  mutable std::shared_future<QImage> m_ahead;
  QString m_path;
  qreal m_ratio = 1.0;
  QSize m_size;
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
