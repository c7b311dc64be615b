#pragma once
// A text-only button at the bottom of the main window: its caption centred
// at the top, grey at rest, white under the mouse.

#include "ui/skin/skin_button.h"

namespace corvesta {

class CBottomIconButton : public CSkinButton {
  Q_OBJECT
public:
  explicit CBottomIconButton(QWidget *parent = nullptr);
  QSize sizeHint() const override;
  std::vector<skin::TextRoom> TextRooms() const override;

protected:
  void paintEvent(QPaintEvent *event) override;
};

} // namespace corvesta
