#pragma once
// The skinned drop-down list: a closed face drawn from an image with the
// current text in dark grey, and plain light items in its list.

#include <QComboBox>
#include <QStyledItemDelegate>

#include "ui/skin/gdiplus_bitmap.h"
#include "ui/skin/skin_paint.h"
#include "ui/skin/text_room.h"

namespace corvesta {

class CGdipComboBox : public QComboBox {
  Q_OBJECT
public:
  explicit CGdipComboBox(QWidget *parent = nullptr);

  // False, leaving no image, when the id has none.
  bool SetFaceImage(int id);
  bool HasFaceImage() const { return !m_face.IsNull(); }

  // Where the face's text goes: 6 pixels in, 32 free for the arrow at right.
  QRect TextRect() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  // The face's text in its room: a name the box chose, shortened with an
  // ellipsis when it is too long.
  std::vector<skin::TextRoom> TextRooms() const;

protected:
  void paintEvent(QPaintEvent *event) override;
  void changeEvent(QEvent *event) override;

private:
  CGdiPlusBitmapResource m_face;
  skin::CDisabledImageCache m_disabledFace;
};

// Items of the list: the selected one in the highlight colours, the others
// dark grey on the window colour, one line each, 24 pixels high.
class CGdipComboItemDelegate : public QStyledItemDelegate {
  Q_OBJECT
public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter *painter, const QStyleOptionViewItem &option,
             const QModelIndex &index) const override;
  QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace corvesta
