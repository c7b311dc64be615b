#pragma once
// What every skinned button shares: a window handle for the skin's private
// messages, the hover state, the draw-text flag, the skinned tool tip, dialog
// group unchecking for radio-style buttons, and keyboard use (Tab reaches it,
// Space presses it, Enter presses a push button and leaves a check box or
// radio button to the dialog's default button, the arrow keys move between
// the radio-style buttons of a group and choose and leave other buttons
// where they are, keyboard focus is drawn and outlasts a dialog opened over
// its window). Each button class
// paints itself over the dialog's background and nothing else.

#include <QAbstractButton>

#include "platform/window_message.h"
#include "ui/skin/skin_tool_tip.h"
#include "ui/skin/text_room.h"

namespace corvesta {

class QtMessageTarget;

class CSkinButton : public QAbstractButton {
  Q_OBJECT
public:
  explicit CSkinButton(QWidget *parent = nullptr);
  ~CSkinButton() override;

  WindowHandle Handle() const;

  void SetDrawText(bool draw);
  bool DrawsText() const { return m_drawText; }

  // An empty text does nothing; otherwise the tool tip is made when needed,
  // gets the text and the 1-second delay, and is switched on or off.
  void SetToolTipText(const QString &text, bool activate = true);
  CSkinToolTip *ToolTip() const { return m_toolTip; }

  bool IsHovered() const { return m_hovered; }
  // True for a button that stands for one of several choices.
  bool IsRadioStyle() const { return m_radioStyle; }
  // True while the focus came from the keyboard (Tab, Space, Enter).
  bool HasKeyboardFocus() const { return hasFocus() && m_keyboardFocus; }

  // Posts WM_SKIN_UNCHECK to every other skinned button of the dialog group,
  // in walk order, and returns their handles. The message's lParam tells when
  // this button was checked: a receiver checked later keeps its check.
  std::vector<WindowHandle> UncheckGroup();

  // Where the button draws its texts, in the state that leaves the least
  // room; none when it draws no text.
  virtual std::vector<skin::TextRoom> TextRooms() const { return {}; }

  // The skin's messages; the base unchecks on WM_SKIN_UNCHECK.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
  // Radio-style buttons call this: from then on, becoming checked unchecks
  // the rest of the group.
  void SetRadioStyle();
  // A click or key that chooses a radio-style button: checks it and tells the
  // group again even when it was checked already, so that it is the latest
  // choice.
  void Choose();
  // A thin frame in the accent colour round `area`, when the focus came from
  // the keyboard.
  void DrawFocusFrame(class QPainter &painter, const QRect &area) const;

  void enterEvent(QEnterEvent *event) override;
  void leaveEvent(QEvent *event) override;
  void focusInEvent(QFocusEvent *event) override;
  void focusOutEvent(QFocusEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void keyReleaseEvent(QKeyEvent *event) override;
  void changeEvent(QEvent *event) override;

private:
  // Focuses and clicks the next (or previous) usable radio-style button of
  // the group; false when there is none.
  bool MoveWithinGroup(bool forward);

  QtMessageTarget *m_target;
  CSkinToolTip *m_toolTip = nullptr; // a child of the button
  bool m_drawText = true;
  bool m_hovered = false;
  bool m_keyboardFocus = false;
  bool m_radioStyle = false;
  LPARAM m_checkedAt = 0; // when a radio-style button was last checked
};

} // namespace corvesta
