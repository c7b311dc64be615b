#pragma once
// A wizard step button: the marker of its state (current, done, pending) with
// the step's name under it, light blue for the current step, white for done
// steps and grey for the steps still to come.

#include "ui/skin/gdiplus_bitmap.h"
#include "ui/skin/skin_button.h"

namespace corvesta {

enum class StepState { Current = 0, Done = 1, Pending = 2 };

class CProcessButton : public CSkinButton {
  Q_OBJECT
public:
  explicit CProcessButton(QWidget *parent = nullptr);

  // Without a call the markers 201, 202 and 203 are loaded at the first paint.
  bool LoadImages(int done, int current, int pending);
  bool ImagesLoaded() const { return m_imagesLoaded; }

  void SetState(StepState state);
  StepState State() const { return m_state; }
  // Narrow: only the marker's leftmost 15 pixels (the last step has no line
  // on to a next one).
  void SetNarrow(bool narrow);
  bool IsNarrow() const { return m_narrow; }

  std::vector<skin::TextRoom> TextRooms() const override;

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  CGdiPlusBitmapResource m_done;
  CGdiPlusBitmapResource m_current;
  CGdiPlusBitmapResource m_pending;
  bool m_imagesLoaded = false;
  bool m_imagesGiven = false;
  StepState m_state = StepState::Pending;
  bool m_narrow = false;
};

} // namespace corvesta
