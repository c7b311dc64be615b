#pragma once
// The skinned message box: the dark dialog with the caption in its title
// strip, the message's icon from the skin's artwork, the text wrapped to
// fit, and the request's buttons as the skin's text buttons in the footer.
//
// It is sized to its text within limits (never wider or taller than the
// screen it opens on), centred on its owner and modal to it. The first
// button is the default and has the focus, so Enter takes it; Escape, the
// close button in the title strip and the window's close give the request's
// dismiss answer. Assistive technology reads it as an alert named by its
// caption, with the text as its description.

#include <QString>
#include <vector>

#include "platform/message_box.h"
#include "ui/skin/gdip_dialog.h"
#include "ui/skin/gdiplus_bitmap.h"

namespace corvesta {

class CGdipButton;
class CGdipIconStatic;
class CTransStatic;

class CSkinMessageDialog : public CGdipDialog {
  Q_OBJECT
public:
  // Control ids: a button's id is the answer it gives.
  static constexpr int kTextId = 0xFFFF;
  static constexpr int kIconId = 20;
  static constexpr int kCloseId = 21;

  // Limits of the text column, in device-independent pixels.
  static constexpr int kMinTextWidth = 220;
  static constexpr int kMaxTextWidth = 440;

  // `owner` may be null: the dialog is then modal to the whole program.
  CSkinMessageDialog(const MessageBoxRequest &request, QWidget *owner);

  // The answer so far: the button pressed, else the dismiss answer.
  MessageBoxResult Answer() const { return m_answer; }
  QString Text() const { return m_text; }
  MessageBoxIcon IconKind() const { return m_icon; }

  // The button that gives `answer`, or null when the box has none.
  CGdipButton *ButtonFor(MessageBoxResult answer) const;
  // The buttons in their order from left to right.
  const std::vector<CGdipButton *> &Buttons() const { return m_buttons; }
  CTransStatic *TextLabel() const { return m_label; }
  // The icon's picture, null for a request without icon.
  CGdipIconStatic *IconPicture() const { return m_iconPicture; }

  // Shows the dialog modally and returns the answer.
  MessageBoxResult Run();

  // The skin image of an icon, 0 for none.
  static int ImageOf(MessageBoxIcon icon);

public Q_SLOTS:
  void reject() override;

protected:
  void paintEvent(QPaintEvent *event) override;
  void showEvent(QShowEvent *event) override;

private:
  void BuildButtons(const MessageBoxRequest &request);
  void LayOut(QWidget *owner);
  void Give(MessageBoxResult answer);

  QString m_text;
  MessageBoxIcon m_icon;
  MessageBoxResult m_dismiss;
  MessageBoxResult m_answer;
  CGdiPlusBitmapResource m_frame; // the skin's dialog artwork, drawn in slices
  CTransStatic *m_title = nullptr;
  CTransStatic *m_label = nullptr;
  CGdipIconStatic *m_iconPicture = nullptr;
  CGdipButton *m_close = nullptr;
  std::vector<CGdipButton *> m_buttons;
};

} // namespace corvesta
