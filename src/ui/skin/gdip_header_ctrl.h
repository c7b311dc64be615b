#pragma once
// The flat list header: 22 pixels high, bold white titles over the dialog's
// background and a white rule along its bottom. It takes no clicks: no
// sorting and no column resizing by the mouse.

#include <QHeaderView>
#include <vector>

#include "ui/skin/text_room.h"

namespace corvesta {

class CGdipHeaderCtrl : public QHeaderView {
  Q_OBJECT
public:
  static constexpr int kHeight = 22;
  // The width a section needs to show `title` whole.
  static int TitleWidth(const QString &title);

  explicit CGdipHeaderCtrl(QWidget *parent = nullptr);

  QSize sizeHint() const override;
  // Every shown section's title in its room, in the header's coordinates. A
  // title wider than its section ends in an ellipsis, never cut.
  std::vector<skin::TextRoom> TextRooms() const;

protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
};

} // namespace corvesta
