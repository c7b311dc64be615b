#pragma once
// The skinned dialog: a frameless dialog painted from a background image,
// moved by dragging it anywhere, optionally shaped by an outline, with a
// window handle for posted messages and its controls reachable by id.
//
// Controls paint only their own content over it; the dialog's image shows
// through wherever they leave the surface transparent.

#include <QAbstractButton>
#include <QDialog>
#include <QPixmap>
#include <QPointer>
#include <QPolygon>

#include "platform/window_message.h"
#include "ui/skin/gdiplus_bitmap.h"

namespace corvesta {

class QtMessageTarget;

class CGdipDialog : public QDialog {
  Q_OBJECT
public:
  explicit CGdipDialog(QWidget *parent = nullptr);
  ~CGdipDialog() override;

  // Loads the background image; false (and a dialog that paints nothing)
  // when the id has no image. The image is drawn at its own size from the
  // top-left corner, squeezed to the dialog where it is larger.
  bool SetBackgroundImage(int id);
  bool HasBackground() const { return !m_background.IsNull(); }

  // Shapes the window; an empty outline gives back the rectangle.
  void SetWindowOutline(const QPolygon &outline);
  // A rectangle of the dialog's size with rounded corners, matching the
  // corners of the skin's backgrounds.
  static QPolygon RoundedOutline(QSize size, int radius);

  // The button that Enter and Return press when the key reaches the dialog
  // (a text field passes them on); null for none.
  void SetDefaultButton(QAbstractButton *button);
  QAbstractButton *DefaultButton() const { return m_defaultButton; }

  // The control with this id among the dialog's descendants, or null.
  QWidget *GetDlgItem(int id) const;
  template <class Control> Control *GetDlgItemAs(int id) const {
    return qobject_cast<Control *>(GetDlgItem(id));
  }

  // The handle that messages for this dialog are posted to.
  WindowHandle Handle() const;

  // Posted and sent messages arrive here on the UI thread. The base answers
  // WM_CLOSE by rejecting the dialog and everything else with 0.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
  void paintEvent(QPaintEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

private:
  void RebuildCache();

  CGdiPlusBitmapResource m_background;
  QPixmap m_cache; // the background drawn at the dialog's size
  bool m_cacheStale = false;
  QtMessageTarget *m_target;
  QPointer<QAbstractButton> m_defaultButton;
  // Dragging by hand where the window system cannot move the window itself.
  bool m_dragging = false;
  QPoint m_dragOffset;
};

} // namespace corvesta
